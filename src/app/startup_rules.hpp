#pragma once
// The decisions start-up makes from plain values: timer periods, the order of attachment
// attempts and the UI language.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "config/config.hpp"
#include "settings/ui_text.hpp"

namespace vessa {

// The bar window's timers. A period of 0 means the timer is not created.
inline constexpr std::uintptr_t kUpdateTimer = 1;
inline constexpr std::uintptr_t kReattachTimer = 2;
inline constexpr std::uintptr_t kWeatherTimer = 3;
// One-shot: the looks at the taskbars shortly after the shell's last event about them.
inline constexpr std::uintptr_t kTaskbarRecheckTimer = 4;
// One-shot: the weather fetched once more after a resume from sleep, when the network is
// usually back (the weather timer, overdue, fires at once, before it is).
inline constexpr std::uintptr_t kResumeWeatherTimer = 5;
inline constexpr std::uint32_t kResumeWeatherDelayMs = 30000;
// One-shot: a scan of the taskbar's buttons that waited for the one before it.
inline constexpr std::uintptr_t kButtonScanTimer = 6;

struct TimerPeriods {
  std::uint32_t update_ms = 0;    // at least 100
  std::uint32_t reattach_ms = 0;  // 0: no reattach timer
  std::uint32_t weather_ms = 0;   // 0: no weather timer

  friend bool operator==(const TimerPeriods&, const TimerPeriods&) = default;
};

[[nodiscard]] std::uint32_t update_period_ms(std::uint32_t update_interval_ms) noexcept;
[[nodiscard]] TimerPeriods timer_periods(const Config& config) noexcept;

// One of the bar window's timers to set with a period, or to kill (period 0).
struct TimerChange {
  std::uintptr_t id = 0;
  std::uint32_t period_ms = 0;

  friend bool operator==(const TimerChange&, const TimerChange&) = default;
};

// What the bar window's timers need so that they run as `config` asks when they run as
// `running` now (all periods 0 for a window that has none yet, as at start-up): the timers
// whose period differs, in identifier order. Just `resumed` from sleep, the one-shot weather
// fetch follows when the weather is fetched at all.
[[nodiscard]] std::vector<TimerChange> timer_changes(const TimerPeriods& running, const Config& config,
                                                     bool resumed = false);

// The modes to try, in order, when creating the bar window.
struct AttachOrder {
  std::array<AttachMode, 3> modes{};
  std::size_t count = 0;

  [[nodiscard]] const AttachMode* begin() const noexcept { return modes.data(); }
  [[nodiscard]] const AttachMode* end() const noexcept { return modes.data() + count; }
};

[[nodiscard]] AttachOrder attachment_order(AttachMode configured, bool fallback) noexcept;

// Japanese when asked for, or for "auto" when the user's UI language (a LANGID) is Japanese.
[[nodiscard]] UiLanguage resolve_ui_language(Language configured, std::uint16_t user_ui_language) noexcept;

}  // namespace vessa
