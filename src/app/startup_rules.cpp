#include "app/startup_rules.hpp"

#include <algorithm>

namespace vessa {

std::uint32_t update_period_ms(std::uint32_t update_interval_ms) noexcept {
  return std::max<std::uint32_t>(update_interval_ms, 100);
}

TimerPeriods timer_periods(const Config& config) noexcept {
  TimerPeriods periods;
  periods.update_ms = update_period_ms(config.general.update_interval_ms);
  periods.reattach_ms = config.behavior.reattach_check_ms;
  if (weather_fetch_configured(config.weather)) {
    const std::uint64_t minutes = std::max<std::uint32_t>(config.weather.update_interval_minutes, 1);
    const std::uint64_t milliseconds = minutes * 60000u;
    periods.weather_ms = milliseconds > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(milliseconds);
  }
  return periods;
}

std::vector<TimerChange> timer_changes(const TimerPeriods& running, const Config& config, bool resumed) {
  const TimerPeriods wanted = timer_periods(config);
  std::vector<TimerChange> changes;
  const auto compare = [&](std::uintptr_t id, std::uint32_t now, std::uint32_t next) {
    if (now != next) changes.push_back(TimerChange{id, next});
  };
  compare(kUpdateTimer, running.update_ms, wanted.update_ms);
  compare(kReattachTimer, running.reattach_ms, wanted.reattach_ms);
  compare(kWeatherTimer, running.weather_ms, wanted.weather_ms);
  if (resumed && wanted.weather_ms != 0) changes.push_back(TimerChange{kResumeWeatherTimer, kResumeWeatherDelayMs});
  return changes;
}

AttachOrder attachment_order(AttachMode configured, bool fallback) noexcept {
  if (fallback && configured == AttachMode::Child) {
    return {{AttachMode::Child, AttachMode::Overlay, AttachMode::TrayOnly}, 3};
  }
  if (fallback && configured == AttachMode::Overlay) {
    return {{AttachMode::Overlay, AttachMode::TrayOnly}, 2};
  }
  return {{configured, AttachMode::TrayOnly}, 2};
}

UiLanguage resolve_ui_language(Language configured, std::uint16_t user_ui_language) noexcept {
  switch (configured) {
    case Language::Ja: return UiLanguage::Japanese;
    case Language::En: return UiLanguage::English;
    case Language::Auto: break;
  }
  constexpr std::uint16_t kLangJapanese = 0x11;
  return (user_ui_language & 0x3FFu) == kLangJapanese ? UiLanguage::Japanese : UiLanguage::English;
}

}  // namespace vessa
