#include "settings/ui_text.hpp"

#include <array>

#include "render/tooltip.hpp"

namespace vessa {
namespace {

struct Entry {
  TextId id;
  std::string_view japanese;
  std::string_view english;
};

// The read-lamp label begins with one ideographic space (U+3000) in Japanese and two blanks in
// English, so that the lamp-colour labels line up with the combo boxes beside them.
constexpr std::array<Entry, kTextCount> kEntries = {{
    {TextId::ProductName, "VESSA", "VESSA"},
    {TextId::MenuShow, "表示", "Show"},
    {TextId::MenuSettings, "設定...", "Settings..."},
    {TextId::MenuReattach, "タスクバーに貼り直す", "Reattach to taskbar"},
    {TextId::MenuExit, "終了", "Exit"},
    {TextId::SettingsTitle, "VESSA の設定", "VESSA Settings"},
    {TextId::LampRead, "　読込", "  Read"},
    {TextId::LampWrite, "書込", "Write"},
    {TextId::LampBoth, "同時", "Both"},
    {TextId::StartWithWindows, "Windows の起動時に開始する", "Start with Windows"},
    {TextId::Preview, "プレビュー", "Preview"},
    {TextId::Rain, "降水", "Rain"},
    {TextId::Temperature, "気温", "Temp"},
    {TextId::TemperatureUnit, "温度単位", "Temperature unit"},
    {TextId::Celsius, "摂氏 (°C)", "Celsius (°C)"},
    {TextId::Fahrenheit, "華氏 (°F)", "Fahrenheit (°F)"},
    {TextId::Scheme, "配色", "Scheme"},
    {TextId::SchemeStandard, "標準", "Standard"},
    {TextId::SchemePresetFamily, "配色指定", "Preset family"},
    {TextId::SchemeCustom, "カスタム", "Custom"},
    {TextId::Family, "系統", "Family"},
    {TextId::FamilyMono, "MONO", "MONO"},
    {TextId::FamilyBlue, "BLUE", "BLUE"},
    {TextId::FamilyGreen, "GREEN", "GREEN"},
    {TextId::FamilyYellow, "YELLOW", "YELLOW"},
    {TextId::FamilyRed, "RED", "RED"},
    {TextId::FamilyPink, "PINK", "PINK"},
    {TextId::PageMonitors, "監視項目", "Monitors"},
    {TextId::PageAppearance, "デザイン設定", "Appearance"},
    {TextId::PageAbout, "バージョン情報", "About"},
    {TextId::PerItemSettings, "項目別の設定", "Per-item settings"},
    {TextId::Bars, "バー", "Bars"},
    {TextId::Weather, "天気", "Weather"},
    {TextId::Version, "バージョン", "Version"},
    {TextId::Author, "作者", "Author"},
    {TextId::Website, "Web サイト", "Website"},
    {TextId::DataSources, "天気: Open-Meteo / 地名検索: Photon (OpenStreetMap)",
     "Weather: Open-Meteo / Place search: Photon (OpenStreetMap)"},
    {TextId::Language, "言語", "Language"},
    {TextId::LanguageAutomatic, "自動（OS に従う）", "Automatic (follow OS)"},
    {TextId::SecondaryDisplays, "サブディスプレイにも表示する", "Show on secondary displays"},
    {TextId::ItemsToDisplay, "表示する項目", "Items to display"},
    {TextId::DiskSelection, "ディスク", "Disk"},
    {TextId::Adapter, "アダプタ", "Adapter"},
    {TextId::All, "すべて", "All"},
    {TextId::FullScale, "基準速度", "Full scale"},
    {TextId::BarWidth, "バーの幅", "Bar width"},
    {TextId::BarAreaHeight, "バー領域の高さ", "Bar area height"},
    {TextId::UpdateInterval, "更新間隔", "Update interval"},
    {TextId::ShowTrack, "未使用部分の軌道を表示する", "Show track for unused portion"},
    {TextId::VerticalOrientation, "縦置きのときの向き", "On a vertical taskbar"},
    {TextId::RotateRight, "右に 90 度（上から下へ）", "Rotate right (top to bottom)"},
    {TextId::RotateLeft, "左に 90 度（下から上へ）", "Rotate left (bottom to top)"},
    {TextId::ShowDiskLamp, "ディスクアクセスランプを表示する", "Show disk activity lamp"},
    {TextId::ShowWeatherIcon, "天気アイコンを表示する", "Show weather icon"},
    {TextId::Area, "エリア設定", "Area"},
    {TextId::AreaAutomatic, "自動（Windows の位置情報）", "Automatic (Windows location)"},
    {TextId::AreaManual, "手動（地名で検索）", "Manual (search by name)"},
    {TextId::PlaceName, "地名", "Place name"},
    {TextId::Search, "検索", "Search"},
    {TextId::Matches, "候補", "Matches"},
    {TextId::Coordinates, "座標", "Coordinates"},
    {TextId::Locating, "取得中...", "Locating..."},
    {TextId::NoMatches, "見つかりませんでした", "No matches"},
    {TextId::Ok, "OK", "OK"},
    {TextId::Cancel, "キャンセル", "Cancel"},
    {TextId::UnitPixels, "px", "px"},
    {TextId::Maximum, "最大", "max"},
    {TextId::UnitMilliseconds, "ミリ秒", "ms"},
    {TextId::UnitMbps, "Mbps", "Mbps"},
    {TextId::Cpu, "CPU", "CPU"},
    {TextId::Memory, "メモリ", "Memory"},
    {TextId::Disk, "ディスク", "Disk"},
    {TextId::Network, "ネットワーク", "Network"},
    {TextId::Receive, "受信", "Receive"},
    {TextId::Send, "送信", "Send"},
    {TextId::Gpu, "GPU", "GPU"},
    {TextId::Used, "使用", "Used"},
    {TextId::Load, "負荷", "Load"},
    {TextId::MessageTitle, "VESSA", "VESSA"},
    {TextId::AttachFailed, "タスクバーへの表示に失敗しました。トレイ常駐のみで動作します。",
     "Could not attach to the taskbar. Running in the tray only."},
    {TextId::SaveFailed, "設定を保存できませんでした。新しい設定は VESSA を終了するまで有効です。",
     "The settings could not be saved. The new settings apply until VESSA exits."},
    {TextId::UnreadFileNotOverwritten,
     "設定ファイルを読めないため、上書きしませんでした。新しい設定は VESSA を終了するまで有効です。",
     "The settings file could not be read, so it was not overwritten. The new settings apply until VESSA exits."},
    {TextId::ConfigResetTitle, "設定を初期値に戻しました", "Settings reset to the defaults"},
    {TextId::ConfigResetError, "config.toml に誤りがあったため、初期設定で起動しました。最初の誤り: ",
     "config.toml had an error, so VESSA started with the default settings. First error: "},
    {TextId::ConfigResetNotText, "UTF-8 のテキストとして読めません", "not readable as UTF-8 text"},
    {TextId::ConfigResetKept, "\n元のファイルの保存先: ", "\nYour file was kept as: "},
}};

constexpr bool entries_follow_their_names() {
  for (std::size_t i = 0; i < kEntries.size(); ++i) {
    if (static_cast<std::size_t>(kEntries[i].id) != i) return false;
  }
  return true;
}
static_assert(entries_follow_their_names(), "every entry sits at its name's number");

constexpr TextTable kJapanese{UiLanguage::Japanese};
constexpr TextTable kEnglish{UiLanguage::English};

}  // namespace

std::string_view TextTable::text(TextId id) const noexcept {
  const auto index = static_cast<std::size_t>(id);
  if (index >= kEntries.size()) return {};
  return language_ == UiLanguage::English ? kEntries[index].english : kEntries[index].japanese;
}

const TextTable& ui_texts(UiLanguage language) noexcept {
  return language == UiLanguage::English ? kEnglish : kJapanese;
}

std::string_view condition_name(WeatherCondition condition, UiLanguage language) noexcept {
  constexpr std::array<std::string_view, kWeatherConditionCount> japanese = {
      "晴れ", "晴れ時々くもり", "くもり", "霧", "小雨", "雨", "雪", "雷雨"};
  constexpr std::array<std::string_view, kWeatherConditionCount> english = {
      "Clear", "Partly cloudy", "Cloudy", "Fog", "Drizzle", "Rain", "Snow", "Thunderstorm"};
  const auto index = static_cast<std::size_t>(condition);
  if (index >= kWeatherConditionCount) return {};
  return language == UiLanguage::English ? english[index] : japanese[index];
}

TooltipTexts tooltip_texts(const TextTable& texts) {
  TooltipTexts words{texts.text(TextId::Cpu), texts.text(TextId::Memory), texts.text(TextId::Disk),
                     texts.text(TextId::Receive), texts.text(TextId::Send), texts.text(TextId::Gpu),
                     texts.text(TextId::Used), texts.text(TextId::Load), texts.text(TextId::Rain),
                     texts.text(TextId::Temperature), {}};
  for (std::size_t i = 0; i < kWeatherConditionCount; ++i) {
    words.conditions[i] = condition_name(static_cast<WeatherCondition>(i), texts.language());
  }
  return words;
}

}  // namespace vessa
