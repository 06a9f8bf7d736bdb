#pragma once
// The device's position from the Windows location service (Windows.Devices.Geolocation).
// One call asks for permission, then for one position; it blocks for up to the two bounded
// waits below, so it runs on a worker thread (PlaceLookup), never on the window thread.

#include <windows.h>

#include <string_view>

#include "base/result.hpp"
#include "weather/place_search.hpp"

namespace vessa {

// Longest waits for the permission answer and for the position. The position request ends by
// itself after 15 seconds; the wait allows it a little more before giving up on it.
inline constexpr DWORD kLocationAccessWaitMs = 30000;
inline constexpr DWORD kLocationPositionWaitMs = 20000;

// The position, range-checked (checked_device_position), or the failing step's message with
// the Windows Runtime error as its cause (none for a refused permission or a position off
// the Earth). The location service's activation factory is obtained once per process.
[[nodiscard]] Result<Coordinates> locate_device();

namespace location_message {
inline constexpr std::string_view kAccessUnavailable = "位置情報の利用許可を確認できません";
inline constexpr std::string_view kAccessUnfinished = "位置情報の利用許可の確認が完了しません";
inline constexpr std::string_view kAccessDenied =
    "位置情報の利用が許可されていません。設定 > プライバシーとセキュリティ > 位置情報 で、位置情報サービスと"
    "「デスクトップアプリに位置情報へのアクセスを許可する」を有効にしてください。";
inline constexpr std::string_view kServiceUnavailable = "位置情報サービスを利用できません";
inline constexpr std::string_view kAccuracy = "位置情報の精度を設定できません";
inline constexpr std::string_view kStart = "測位を開始できません";
inline constexpr std::string_view kUnfinished = "測位が完了しません（屋内や電波の届かない場所では失敗します）";
inline constexpr std::string_view kNoCoordinate = "測位結果に座標が含まれていません";
inline constexpr std::string_view kNoPosition = "座標を取り出せません";
}  // namespace location_message

}  // namespace vessa
