// The rules an HTTPS answer must meet and the texts of its failures.
#include <gtest/gtest.h>

#include <string>

#include "base/system_error.hpp"
#include "weather/https_get.hpp"

namespace vessa {
namespace {

TEST(HttpsRules, UserAgentNamesVersionAndWebPage) {
  EXPECT_EQ(https_user_agent(), "VESSA/1.5.0 (+https://github.com/vessa-monitor/vessa)");
}

TEST(HttpsRules, StatusMessageNamesTheStatus) {
  EXPECT_EQ(http_status_error(404), Error("天気の取得が HTTP 404 で失敗しました"));
  EXPECT_EQ(http_status_error(500), Error("天気の取得が HTTP 500 で失敗しました"));
  EXPECT_EQ(http_status_error(4294967295u).message(), "天気の取得が HTTP 4294967295 で失敗しました");
}

TEST(HttpsRules, ABodyOfExactlyTheLimitIsAccepted) {
  ResponseBody body;
  const std::string chunk(kHttpsReadChunkBytes, 'a');
  for (std::size_t read = 0; read < kHttpsLargestBodyBytes; read += chunk.size()) {
    ASSERT_TRUE(body.append(chunk.data(), chunk.size()).ok()) << read;
  }
  const auto text = std::move(body).take_text();
  ASSERT_TRUE(text.ok());
  EXPECT_EQ(text->size(), 65536u);
}

TEST(HttpsRules, OneByteMoreIsRefused) {
  ResponseBody body;
  const std::string chunk(kHttpsReadChunkBytes, 'a');
  for (std::size_t read = 0; read < kHttpsLargestBodyBytes; read += chunk.size()) {
    ASSERT_TRUE(body.append(chunk.data(), chunk.size()).ok());
  }
  const Status last = body.append("b", 1);
  ASSERT_FALSE(last.ok());
  EXPECT_EQ(last.error(), Error("天気の応答が想定より大きすぎます"));
}

TEST(HttpsRules, TheBodyMustBeUtf8) {
  const struct {
    std::string bytes;
    const char* cause;  // nullptr: valid
  } cases[] = {
      {"", nullptr},
      {R"({"current":{}})", nullptr},
      {"\xE6\x99\xB4\xE3\x82\x8C \xC2\xB0" "C \xF0\x9F\x8C\xA7", nullptr},
      {"caf\xE9", "invalid UTF-8 sequence at byte 3"},             // Latin-1
      {"ab\xFF", "invalid UTF-8 sequence at byte 2"},
      {"\xC0\xAF", "invalid UTF-8 sequence at byte 0"},            // overlong '/'
      {"x\xED\xA0\x80y", "invalid UTF-8 sequence at byte 1"},      // a surrogate
      {"\xF4\x90\x80\x80", "invalid UTF-8 sequence at byte 0"},    // above U+10FFFF
      {"\xE6\x99\xB4\xE3\x82", "invalid UTF-8 sequence at byte 3"},  // cut short
      {std::string("a\0b", 3), nullptr},
  };
  for (const auto& c : cases) {
    ResponseBody body;
    ASSERT_TRUE(body.append(c.bytes.data(), c.bytes.size()).ok());
    const auto text = std::move(body).take_text();
    if (c.cause == nullptr) {
      ASSERT_TRUE(text.ok()) << c.bytes;
      EXPECT_EQ(*text, c.bytes);
    } else {
      ASSERT_FALSE(text.ok()) << c.bytes;
      EXPECT_EQ(text.error(), Error("天気の応答が UTF-8 ではありません", Error(c.cause)));
    }
  }
}

// How a failed fetch reads in the debug line: the step's message, then the system's text for
// the Windows error and its HRESULT.
TEST(HttpsRules, AWindowsErrorReadsAsTextAndCode) {
  const Error error(std::string(https_message::kReceive),
                    system_error("The operation timed out\r\n", hresult_from_win32(12002)));
  EXPECT_EQ(error.full_text(), "天気の応答を受け取れません: The operation timed out (0x80072EE2)");
  const Error bare(std::string(https_message::kSend), system_error("", hresult_from_win32(12175)));
  EXPECT_EQ(bare.full_text(), "天気の取得要求に失敗しました: 0x80072F8F");
}

}  // namespace
}  // namespace vessa
