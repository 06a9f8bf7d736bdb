#include <gtest/gtest.h>

#include <cstdint>

#include "base/busy_file_retry.hpp"
#include "base/error.hpp"
#include "base/result.hpp"
#include "base/system_error.hpp"
#include "base/utf.hpp"

namespace vessa {
namespace {

TEST(Error, FullTextJoinsTheCauseChainWithColons) {
  const Error error("設定ファイルを書き込めません: C:\\x\\config.toml",
                    Error("outer cause", Error("Access is denied. (0x80070005)")));
  EXPECT_EQ(error.full_text(),
            "設定ファイルを書き込めません: C:\\x\\config.toml: outer cause: Access is denied. (0x80070005)");
  EXPECT_EQ(Error("alone").full_text(), "alone");
}

TEST(Error, DebugFormShowsTheStructure) {
  EXPECT_EQ(Error("a \"b\"", Error("c")).debug_form(),
            "Error { message: \"a \\\"b\\\"\", cause: Some(Error { message: \"c\", cause: None }) }");
}

TEST(Error, CopiesShareAndCompareEqual) {
  const Error original("a", Error("b"));
  const Error copy = original;  // NOLINT(performance-unnecessary-copy-initialization)
  EXPECT_EQ(copy, original);
  EXPECT_NE(copy, Error("a"));
  EXPECT_NE(copy, Error("a", Error("c")));
}

TEST(Result, HoldsAValueOrAnError) {
  Result<int> value = 7;
  ASSERT_TRUE(value.ok());
  EXPECT_EQ(*value, 7);
  Result<int> failure = Error("no");
  ASSERT_FALSE(failure.ok());
  EXPECT_EQ(failure.error().message(), "no");
  Status fine;
  EXPECT_TRUE(fine.ok());
}

TEST(SystemError, TextIsSystemMessageAndCode) {
  EXPECT_EQ(system_error_text("The operation timed out\r\n", 0x80072EE2u), "The operation timed out (0x80072EE2)");
  EXPECT_EQ(system_error_text("", 0x80072EE2u), "0x80072EE2");
  EXPECT_EQ(system_error_text(" \r\n", 0xC0000BB9u), "0xC0000BB9");
  EXPECT_EQ(hex_code(0x5u), "0x00000005");
}

TEST(SystemError, HresultFromWin32) {
  EXPECT_EQ(hresult_from_win32(0), 0u);
  EXPECT_EQ(hresult_from_win32(5), 0x80070005u);
  EXPECT_EQ(hresult_from_win32(12002), 0x80072EE2u);  // ERROR_WINHTTP_TIMEOUT
  EXPECT_EQ(hresult_from_win32(0x80004005u), 0x80004005u);
}

// A hold by another program is waited out for less than half a second in all (the save runs on
// the UI thread); any other error gives up at once.
TEST(BusyFileRetry, WaitsOutBriefHoldsOnlyAndWithinHalfASecond) {
  for (const std::uint32_t held : {32u, 33u}) {  // sharing and lock violations
    std::uint32_t waited_ms = 0;
    for (std::uint32_t tries = 1; tries < 100; ++tries) {
      const std::optional<std::uint32_t> wait = busy_file_retry_wait_ms(held, tries);
      if (!wait) break;
      waited_ms += *wait;
    }
    EXPECT_GE(waited_ms, 300u) << held;
    EXPECT_LE(waited_ms, 500u) << held;
  }
  // No error, file and path not found, access denied (a read-only file stays so), disk full, and
  // an HRESULT (no Win32 code).
  for (const std::uint32_t other : {0u, 2u, 3u, 5u, 112u, 0x80070020u}) {
    EXPECT_EQ(busy_file_retry_wait_ms(other, 1), std::nullopt) << other;
  }
  EXPECT_EQ(busy_file_retry_wait_ms(32, 0), std::nullopt);
}

TEST(Utf, RoundTripsValidText) {
  const std::string text = "VESSA 日本語 \xF0\x9F\x8C\xA7 °C";
  const auto wide = utf8_to_utf16(text);
  ASSERT_TRUE(wide.has_value());
  EXPECT_EQ(wide->size(), 15u);  // the cloud needs a surrogate pair
  EXPECT_EQ(utf16_to_utf8(*wide), text);
  EXPECT_EQ(utf8_length(text), 14u);
}

TEST(Utf, RejectsInvalidSequences) {
  for (const std::string bad : {"\xFF", "\xC0\x80", "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "abc\xE3\x81",
                                "\x80"}) {
    EXPECT_FALSE(is_valid_utf8(bad)) << bad.size();
    EXPECT_FALSE(utf8_to_utf16(bad).has_value());
  }
  EXPECT_FALSE(utf16_to_utf8(std::u16string(1, u'\xD800')).has_value());
  EXPECT_FALSE(utf16_to_utf8(u"a\xDC00").has_value());
}

TEST(Utf, LossyFormsReplaceEachBadSequence) {
  EXPECT_EQ(utf8_to_utf16_lossy("a\xFF" "b"), u"a\uFFFDb");
  EXPECT_EQ(utf16_to_utf8_lossy(std::u16string{u'x', char16_t{0xD800}}), "x\xEF\xBF\xBD");
}

}  // namespace
}  // namespace vessa
