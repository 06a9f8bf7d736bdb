#pragma once
// The enumerations of the configuration, their text forms in the file and their order. The
// order is also the numeric order (index 0 first), which drop-down lists and the colour rules
// rely on.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace vessa {

enum class Language : std::uint8_t { Auto, Ja, En };
enum class Displays : std::uint8_t { Primary, All };
enum class AttachMode : std::uint8_t { Child, Overlay, TrayOnly };
enum class Anchor : std::uint8_t { Left, Right, TrayLeft };
enum class VerticalRotation : std::uint8_t { Clockwise, CounterClockwise };
enum class ColorScheme : std::uint8_t { Standard, Family, Custom };
enum class ColorFamily : std::uint8_t { Mono, Red, Yellow, Green, Blue, Pink };
enum class MetricKind : std::uint8_t { Cpu, Memory, Disk, Net, Gpu };
enum class LocationMode : std::uint8_t { Auto, Manual };
enum class TemperatureUnit : std::uint8_t { Celsius, Fahrenheit };

// The text forms, indexed by the numeric value.
template <typename Enum>
struct EnumTexts;

template <> struct EnumTexts<Language> {
  static constexpr std::array<std::string_view, 3> names = {"auto", "ja", "en"};
};
template <> struct EnumTexts<Displays> {
  static constexpr std::array<std::string_view, 2> names = {"primary", "all"};
};
template <> struct EnumTexts<AttachMode> {
  static constexpr std::array<std::string_view, 3> names = {"child", "overlay", "tray_only"};
};
template <> struct EnumTexts<Anchor> {
  static constexpr std::array<std::string_view, 3> names = {"left", "right", "tray_left"};
};
template <> struct EnumTexts<VerticalRotation> {
  static constexpr std::array<std::string_view, 2> names = {"clockwise", "counter_clockwise"};
};
template <> struct EnumTexts<ColorScheme> {
  static constexpr std::array<std::string_view, 3> names = {"standard", "family", "custom"};
};
template <> struct EnumTexts<ColorFamily> {
  static constexpr std::array<std::string_view, 6> names = {"mono", "red", "yellow", "green", "blue", "pink"};
};
template <> struct EnumTexts<MetricKind> {
  static constexpr std::array<std::string_view, 5> names = {"cpu", "memory", "disk", "net", "gpu"};
};
template <> struct EnumTexts<LocationMode> {
  static constexpr std::array<std::string_view, 2> names = {"auto", "manual"};
};
template <> struct EnumTexts<TemperatureUnit> {
  static constexpr std::array<std::string_view, 2> names = {"celsius", "fahrenheit"};
};

template <typename Enum>
inline constexpr std::size_t enum_count = EnumTexts<Enum>::names.size();

template <typename Enum>
[[nodiscard]] constexpr std::string_view enum_text(Enum value) noexcept {
  const auto index = static_cast<std::size_t>(value);
  return index < enum_count<Enum> ? EnumTexts<Enum>::names[index] : std::string_view{};
}

// Exact, case-sensitive match of a text form.
template <typename Enum>
[[nodiscard]] constexpr std::optional<Enum> enum_from_text(std::string_view text) noexcept {
  for (std::size_t i = 0; i < enum_count<Enum>; ++i) {
    if (EnumTexts<Enum>::names[i] == text) return static_cast<Enum>(i);
  }
  return std::nullopt;
}

// "Child", "Overlay", "TrayOnly": the attachment mode as diagnostics print it.
[[nodiscard]] constexpr std::string_view attach_mode_debug_name(AttachMode mode) noexcept {
  switch (mode) {
    case AttachMode::Child: return "Child";
    case AttachMode::Overlay: return "Overlay";
    case AttachMode::TrayOnly: return "TrayOnly";
  }
  return "TrayOnly";
}

}  // namespace vessa
