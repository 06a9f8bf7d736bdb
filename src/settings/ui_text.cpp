#include "settings/ui_text.hpp"

namespace vessa {
namespace {

// Entry 6 begins with one ideographic space (U+3000) in Japanese and two blanks in English, so
// that the lamp-colour labels line up with the combo boxes beside them.
constexpr TextTable kJapanese = {
    "VESSA",  // 0
    "表示",  // 1
    "設定...",  // 2
    "タスクバーに貼り直す",  // 3
    "終了",  // 4
    "VESSA の設定",  // 5
    "　読込",  // 6
    "書込",  // 7
    "同時",  // 8
    "Windows の起動時に開始する",  // 9
    "プレビュー",  // 10
    "降水",  // 11
    "気温",  // 12
    "温度単位",  // 13
    "摂氏 (°C)",  // 14
    "華氏 (°F)",  // 15
    "配色",  // 16
    "標準",  // 17
    "配色指定",  // 18
    "カスタム",  // 19
    "系統",  // 20
    "MONO",  // 21
    "BLUE",  // 22
    "GREEN",  // 23
    "YELLOW",  // 24
    "RED",  // 25
    "PINK",  // 26
    "監視項目",  // 27
    "デザイン設定",  // 28
    "バージョン情報",  // 29
    "項目別の設定",  // 30
    "バー",  // 31
    "天気",  // 32
    "バージョン",  // 33
    "作者",  // 34
    "Web サイト",  // 35
    "天気: Open-Meteo / 地名検索: Photon (OpenStreetMap)",  // 36
    "言語",  // 37
    "自動（OS に従う）",  // 38
    "サブディスプレイにも表示する",  // 39
    "表示する項目",  // 40
    "ディスク",  // 41
    "アダプタ",  // 42
    "すべて",  // 43
    "基準速度",  // 44
    "バーの幅",  // 45
    "バー領域の高さ",  // 46
    "更新間隔",  // 47
    "未使用部分の軌道を表示する",  // 48
    "縦置きのときの向き",  // 49
    "右に 90 度（上から下へ）",  // 50
    "左に 90 度（下から上へ）",  // 51
    "ディスクアクセスランプを表示する",  // 52
    "天気アイコンを表示する",  // 53
    "エリア設定",  // 54
    "自動（Windows の位置情報）",  // 55
    "手動（地名で検索）",  // 56
    "地名",  // 57
    "検索",  // 58
    "候補",  // 59
    "座標",  // 60
    "取得中...",  // 61
    "見つかりませんでした",  // 62
    "OK",  // 63
    "キャンセル",  // 64
    "px",  // 65
    "最大",  // 66
    "ミリ秒",  // 67
    "Mbps",  // 68
    "CPU",  // 69
    "メモリ",  // 70
    "ディスク",  // 71
    "ネットワーク",  // 72
    "受信",  // 73
    "送信",  // 74
    "GPU",  // 75
    "使用",  // 76
    "負荷",  // 77
    "VESSA",  // 78
    "タスクバーへの表示に失敗しました。トレイ常駐のみで動作します。",  // 79
};

constexpr TextTable kEnglish = {
    "VESSA",  // 0
    "Show",  // 1
    "Settings...",  // 2
    "Reattach to taskbar",  // 3
    "Exit",  // 4
    "VESSA Settings",  // 5
    "  Read",  // 6
    "Write",  // 7
    "Both",  // 8
    "Start with Windows",  // 9
    "Preview",  // 10
    "Rain",  // 11
    "Temp",  // 12
    "Temperature unit",  // 13
    "Celsius (°C)",  // 14
    "Fahrenheit (°F)",  // 15
    "Scheme",  // 16
    "Standard",  // 17
    "Preset family",  // 18
    "Custom",  // 19
    "Family",  // 20
    "MONO",  // 21
    "BLUE",  // 22
    "GREEN",  // 23
    "YELLOW",  // 24
    "RED",  // 25
    "PINK",  // 26
    "Monitors",  // 27
    "Appearance",  // 28
    "About",  // 29
    "Per-item settings",  // 30
    "Bars",  // 31
    "Weather",  // 32
    "Version",  // 33
    "Author",  // 34
    "Website",  // 35
    "Weather: Open-Meteo / Place search: Photon (OpenStreetMap)",  // 36
    "Language",  // 37
    "Automatic (follow OS)",  // 38
    "Show on secondary displays",  // 39
    "Items to display",  // 40
    "Disk",  // 41
    "Adapter",  // 42
    "All",  // 43
    "Full scale",  // 44
    "Bar width",  // 45
    "Bar area height",  // 46
    "Update interval",  // 47
    "Show track for unused portion",  // 48
    "On a vertical taskbar",  // 49
    "Rotate right (top to bottom)",  // 50
    "Rotate left (bottom to top)",  // 51
    "Show disk activity lamp",  // 52
    "Show weather icon",  // 53
    "Area",  // 54
    "Automatic (Windows location)",  // 55
    "Manual (search by name)",  // 56
    "Place name",  // 57
    "Search",  // 58
    "Matches",  // 59
    "Coordinates",  // 60
    "Locating...",  // 61
    "No matches",  // 62
    "OK",  // 63
    "Cancel",  // 64
    "px",  // 65
    "max",  // 66
    "ms",  // 67
    "Mbps",  // 68
    "CPU",  // 69
    "Memory",  // 70
    "Disk",  // 71
    "Network",  // 72
    "Receive",  // 73
    "Send",  // 74
    "GPU",  // 75
    "Used",  // 76
    "Load",  // 77
    "VESSA",  // 78
    "Could not attach to the taskbar. Running in the tray only.",  // 79
};

}  // namespace

const TextTable& ui_texts(UiLanguage language) noexcept {
  return language == UiLanguage::English ? kEnglish : kJapanese;
}

}  // namespace vessa
