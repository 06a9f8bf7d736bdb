#pragma once
// One synchronous HTTPS GET (WinHTTP, in https_get_win.cpp) and the rules its answer must
// meet, which are plain functions here. Used by the weather fetch and the place search, each
// on a worker thread of its own.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/result.hpp"

namespace vessa {

// The product's web page, named in the user agent (and wherever the program points to itself).
inline constexpr std::string_view kProductWebPage = "https://github.com/vessa-monitor/vessa";
// "VESSA/1.5.0 (+https://github.com/vessa-monitor/vessa)"
[[nodiscard]] std::string https_user_agent();

inline constexpr std::uint16_t kHttpsPort = 443;
inline constexpr std::uint32_t kHttpsTimeoutMs = 10000;       // each of resolve, connect, send, receive
inline constexpr std::size_t kHttpsReadChunkBytes = 4096;     // one WinHttpReadData at most
inline constexpr std::size_t kHttpsLargestBodyBytes = 65536;  // a longer body is refused

// GETs https://`host``path_and_query` on port 443 and returns the body of a 200 answer as
// UTF-8 text. Every other outcome is an error whose message names the failing step, with
// the Windows error as its cause where there is one. Blocks for up to the time-outs; never
// call it on the window thread.
[[nodiscard]] Result<std::string> https_get(std::string_view host, std::string_view path_and_query);

namespace https_message {
inline constexpr std::string_view kOpen = "WinHttpOpen に失敗しました";
inline constexpr std::string_view kConnect = "WinHttpConnect に失敗しました: ";  // + host
inline constexpr std::string_view kOpenRequest = "WinHttpOpenRequest に失敗しました";
inline constexpr std::string_view kSend = "天気の取得要求に失敗しました";
inline constexpr std::string_view kReceive = "天気の応答を受け取れません";
inline constexpr std::string_view kStatusQuery = "HTTP ステータスを取得できません";
inline constexpr std::string_view kRead = "天気の応答を読めません";
inline constexpr std::string_view kTooLarge = "天気の応答が想定より大きすぎます";
inline constexpr std::string_view kNotUtf8 = "天気の応答が UTF-8 ではありません";
}  // namespace https_message

// "天気の取得が HTTP 404 で失敗しました"
[[nodiscard]] Error http_status_error(std::uint32_t status);

// The body as it grows chunk by chunk: refuses to hold more than kHttpsLargestBodyBytes.
class ResponseBody {
 public:
  // Appends one chunk; an error once the body is longer than the limit (a body of exactly
  // the limit is fine).
  [[nodiscard]] Status append(const char* data, std::size_t size);
  // The finished body as text, or an error when it is not valid UTF-8.
  [[nodiscard]] Result<std::string> take_text() &&;

 private:
  std::string bytes_;
};

}  // namespace vessa
