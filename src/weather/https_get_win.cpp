// WinHTTP lives in this file alone: its header clashes with wininet.h.
#include <windows.h>
#include <winhttp.h>

#include <array>

#include "base/lazy_library_win.hpp"
#include "base/unique_handle_win.hpp"
#include "base/wide_win.hpp"
#include "base/win_error_win.hpp"
#include "weather/https_get.hpp"

namespace vessa {
namespace {

// WinHTTP is loaded with the first request, not at start-up: a run without weather never
// needs it, nor the network libraries it brings. Its absence fails the request's first step.
LazyLibrary g_winhttp(L"winhttp.dll");
LazyFunction<decltype(WinHttpOpen)> winhttp_open(g_winhttp, "WinHttpOpen");
LazyFunction<decltype(WinHttpSetTimeouts)> winhttp_set_timeouts(g_winhttp, "WinHttpSetTimeouts");
LazyFunction<decltype(WinHttpConnect)> winhttp_connect(g_winhttp, "WinHttpConnect");
LazyFunction<decltype(WinHttpOpenRequest)> winhttp_open_request(g_winhttp, "WinHttpOpenRequest");
LazyFunction<decltype(WinHttpSetOption)> winhttp_set_option(g_winhttp, "WinHttpSetOption");
LazyFunction<decltype(WinHttpSendRequest)> winhttp_send_request(g_winhttp, "WinHttpSendRequest");
LazyFunction<decltype(WinHttpReceiveResponse)> winhttp_receive_response(g_winhttp, "WinHttpReceiveResponse");
LazyFunction<decltype(WinHttpQueryHeaders)> winhttp_query_headers(g_winhttp, "WinHttpQueryHeaders");
LazyFunction<decltype(WinHttpReadData)> winhttp_read_data(g_winhttp, "WinHttpReadData");
LazyFunction<decltype(WinHttpCloseHandle)> winhttp_close_handle(g_winhttp, "WinHttpCloseHandle");

void close_internet_handle(HINTERNET handle) noexcept {
  winhttp_close_handle(handle);  // a failure to close changes nothing for the caller
}
using UniqueInternet = UniqueAny<HINTERNET, &close_internet_handle>;

Error failed(std::string_view message) { return Error(std::string(message)); }

// `message` caused by the Windows error of the call that just failed. Wine's WinHTTP reports
// a receive time-out as the socket's WSAETIMEDOUT where Windows says ERROR_WINHTTP_TIMEOUT;
// both are the same time-out and read as WinHTTP's code.
Error failed_with_cause(std::string_view message) {
  DWORD code = GetLastError();
  if (code == WSAETIMEDOUT) code = ERROR_WINHTTP_TIMEOUT;
  return Error(std::string(message), win32_error(code));
}

}  // namespace

Result<std::string> https_get(std::string_view host, std::string_view path_and_query) {
  const std::wstring agent = widen(https_user_agent());
  const std::wstring wide_host = widen(host);
  const std::wstring wide_path = widen(path_and_query);

  // Synchronous session; the system's automatic proxy settings apply.
  UniqueInternet session(winhttp_open(agent.c_str(), WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY, WINHTTP_NO_PROXY_NAME,
                                     WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session) return failed(https_message::kOpen);

  constexpr int kTimeout = static_cast<int>(kHttpsTimeoutMs);
  // A failure leaves WinHTTP's own (longer, still finite) time-outs in place: carry on.
  winhttp_set_timeouts(session.get(), kTimeout, kTimeout, kTimeout, kTimeout);

  UniqueInternet connection(winhttp_connect(session.get(), wide_host.c_str(), kHttpsPort, 0));
  if (!connection) return Error(std::string(https_message::kConnect) + std::string(host));

  UniqueInternet request(winhttp_open_request(connection.get(), L"GET", wide_path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                            WINHTTP_DEFAULT_ACCEPT_TYPES, WINHTTP_FLAG_SECURE));
  if (!request) return failed(https_message::kOpenRequest);
  // The wait for the answer's headers has a limit of its own (90 s on Windows, none on Wine);
  // the receive time-out bounds it too.
  DWORD response_timeout = kHttpsTimeoutMs;
  winhttp_set_option(request.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &response_timeout, sizeof(response_timeout));

  if (!winhttp_send_request(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0)) {
    return failed_with_cause(https_message::kSend);
  }
  if (!winhttp_receive_response(request.get(), nullptr)) return failed_with_cause(https_message::kReceive);

  DWORD status = 0;
  DWORD status_size = sizeof(status);
  if (!winhttp_query_headers(request.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                           WINHTTP_HEADER_NAME_BY_INDEX, &status, &status_size, WINHTTP_NO_HEADER_INDEX)) {
    return failed_with_cause(https_message::kStatusQuery);
  }
  if (status != 200) return http_status_error(status);

  ResponseBody body;
  std::array<char, kHttpsReadChunkBytes> chunk{};
  while (true) {
    DWORD got = 0;
    if (!winhttp_read_data(request.get(), chunk.data(), static_cast<DWORD>(chunk.size()), &got)) {
      return failed_with_cause(https_message::kRead);
    }
    if (got == 0) break;
    if (Status appended = body.append(chunk.data(), got); !appended) return appended.error();
  }
  return std::move(body).take_text();
}

}  // namespace vessa
