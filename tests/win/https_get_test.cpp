// https_get against a real HTTPS server on the loopback address. These tests run in
// vessa_win_tests_https, which provides the server, a private network namespace and a Wine
// session of their own (https_namespace.sh); elsewhere they are skipped.
#include <gtest/gtest.h>

#include <windows.h>
#include <winhttp.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "harness_win.hpp"
#include "https_server_win.hpp"
#include "weather/https_get.hpp"

namespace vessa::test {
namespace {

using Shell_HttpsGet = HttpsServerTest;

std::string cause_text(const Error& error) { return error.cause() != nullptr ? error.cause()->full_text() : ""; }

// A Windows error cause: the system's text and the code in parentheses, or the code alone
// when the system has no text for it (Wine has none for WinHTTP's codes).
bool is_windows_error(const std::string& cause, const std::string& code) {
  if (cause == code) return true;
  const std::string end = " (" + code + ")";
  return cause.size() > end.size() && cause.compare(cause.size() - end.size(), end.size(), end) == 0;
}

TEST_F(Shell_HttpsGet, ReturnsTheBodyOfA200AsText) {
  const auto body = https_get("localhost", "/text");
  ASSERT_TRUE(body.ok()) << body.error().full_text();
  EXPECT_EQ(*body, "VESSA の試験: 晴れ °C");
}

TEST_F(Shell_HttpsGet, SendsAGetForThePathWithTheProductsUserAgent) {
  const auto body = https_get("localhost", "/echo");
  ASSERT_TRUE(body.ok()) << body.error().full_text();
  EXPECT_EQ(*body, "GET /echo HTTP/1.1\nVESSA/" VESSA_VERSION " (+https://github.com/vessa-monitor/vessa)\n");
}

TEST_F(Shell_HttpsGet, AnyStatusButTwoHundredFailsWithItsNumber) {
  for (const int status : {404, 500, 201, 403}) {
    const auto body = https_get("localhost", "/status/" + std::to_string(status));
    ASSERT_FALSE(body.ok()) << status;
    EXPECT_EQ(body.error().full_text(), "天気の取得が HTTP " + std::to_string(status) + " で失敗しました");
  }
}

TEST_F(Shell_HttpsGet, ReadsBodiesUpToTheLimit) {
  for (const int size : {0, 1, 4095, 4096, 4097, 65535, 65536}) {
    const auto body = https_get("localhost", "/size/" + std::to_string(size));
    ASSERT_TRUE(body.ok()) << size << ": " << body.error().full_text();
    EXPECT_EQ(body->size(), static_cast<std::size_t>(size));
    EXPECT_EQ(body->find_first_not_of('a'), std::string::npos);
  }
}

TEST_F(Shell_HttpsGet, RefusesABodyOneByteOverTheLimit) {
  for (const int size : {65537, 200000}) {
    const auto body = https_get("localhost", "/size/" + std::to_string(size));
    ASSERT_FALSE(body.ok()) << size;
    EXPECT_EQ(body.error().full_text(), "天気の応答が想定より大きすぎます");
  }
}

TEST_F(Shell_HttpsGet, RefusesABodyThatIsNotUtf8) {
  const auto body = https_get("localhost", "/latin1");
  ASSERT_FALSE(body.ok());
  EXPECT_EQ(body.error().full_text(), "天気の応答が UTF-8 ではありません: invalid UTF-8 sequence at byte 3");
}

TEST_F(Shell_HttpsGet, AnUnknownHostFailsTheRequestWithTheWindowsError) {
  const auto body = https_get("no-such-host.invalid", "/text");
  ASSERT_FALSE(body.ok());
  EXPECT_EQ(body.error().message(), "天気の取得要求に失敗しました");
  const std::string cause = cause_text(body.error());
  EXPECT_TRUE(is_windows_error(cause, "0x80072EE7")) << cause;  // ERROR_WINHTTP_NAME_NOT_RESOLVED
}

TEST_F(Shell_HttpsGet, ACertificateForAnotherNameIsNotTrusted) {
  const auto body = https_get("127.0.0.1", "/text");
  ASSERT_FALSE(body.ok());
  EXPECT_EQ(body.error().message(), "天気の取得要求に失敗しました");
  const std::string cause = cause_text(body.error());
  EXPECT_TRUE(is_windows_error(cause, "0x80072F7D")) << cause;  // ERROR_WINHTTP_SECURE_CHANNEL_ERROR
}

// The one slow case: the server takes the request and never answers; the receive time-out of
// 10 seconds ends the wait with WinHTTP's time-out code.
TEST_F(Shell_HttpsGet, AServerThatNeverAnswersTimesOutAfterTenSeconds) {
  const auto start = std::chrono::steady_clock::now();
  const auto body = https_get("localhost", "/hang");
  const auto waited = std::chrono::steady_clock::now() - start;
  ASSERT_FALSE(body.ok());
  EXPECT_EQ(body.error().message(), "天気の応答を受け取れません");
  const std::string cause = cause_text(body.error());
  EXPECT_TRUE(is_windows_error(cause, "0x80072EE2")) << cause;  // ERROR_WINHTTP_TIMEOUT
  EXPECT_GE(waited, std::chrono::seconds(9));
  EXPECT_LT(waited, std::chrono::seconds(25));
}

// Every exchange closes its handles, whatever the outcome. WinHTTP hands out the lowest free
// slots of its handle table (Wine does): the sixteenth of sixteen new handles is the same
// before and after many exchanges only if none of theirs is still open.
TEST_F(Shell_HttpsGet, ClosesEveryHandleOnEveryPath) {
  const auto probe = [] {
    std::vector<HINTERNET> sessions;
    for (int i = 0; i < 16; ++i) {
      sessions.push_back(WinHttpOpen(L"probe", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                     WINHTTP_NO_PROXY_BYPASS, 0));
    }
    for (HINTERNET session : sessions) WinHttpCloseHandle(session);
    return sessions.back();
  };
  const HINTERNET before = probe();
  ASSERT_NE(before, nullptr);
  const char* paths[] = {"/text", "/status/404", "/size/65537", "/latin1"};
  for (int round = 0; round < 5; ++round) {
    for (const char* path : paths) (void)https_get("localhost", path);
    (void)https_get("no-such-host.invalid", "/");
    (void)https_get("127.0.0.1", "/text");
  }
  EXPECT_EQ(probe(), before);
}

}  // namespace
}  // namespace vessa::test
