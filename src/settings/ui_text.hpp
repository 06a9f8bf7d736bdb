#pragma once
// The user-interface text table: 80 texts in Japanese and in English, indexed alike. Every
// label the program shows comes from here; the language chosen at start-up (or after the
// settings are accepted) selects the table. Start-up failures and diagnostics are Japanese in
// both languages and do not come from here.

#include <array>
#include <cstddef>
#include <string_view>

namespace vessa {

enum class UiLanguage : unsigned char { Japanese, English };

using TextTable = std::array<std::string_view, 80>;

[[nodiscard]] const TextTable& ui_texts(UiLanguage language) noexcept;

// Names of the entries used outside the settings window.
namespace text {
inline constexpr std::size_t kProductName = 0;
inline constexpr std::size_t kMenuShow = 1;
inline constexpr std::size_t kMenuSettings = 2;
inline constexpr std::size_t kMenuReattach = 3;
inline constexpr std::size_t kMenuExit = 4;
inline constexpr std::size_t kRain = 11;
inline constexpr std::size_t kTemperature = 12;
inline constexpr std::size_t kCpu = 69;
inline constexpr std::size_t kMemory = 70;
inline constexpr std::size_t kDisk = 71;
inline constexpr std::size_t kNetwork = 72;
inline constexpr std::size_t kReceive = 73;
inline constexpr std::size_t kSend = 74;
inline constexpr std::size_t kGpu = 75;
inline constexpr std::size_t kUsed = 76;
inline constexpr std::size_t kLoad = 77;
inline constexpr std::size_t kMessageTitle = 78;
inline constexpr std::size_t kAttachFailed = 79;
}  // namespace text

// The language names, the same in both tables.
inline constexpr std::string_view kJapaneseLanguageName = "日本語";
inline constexpr std::string_view kEnglishLanguageName = "English";

}  // namespace vessa
