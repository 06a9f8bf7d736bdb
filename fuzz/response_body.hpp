#pragma once
// What a fuzzed answer turns into before its parser sees it: the bytes fed to the body check
// in the chunks https_get reads, then taken as text. A body check may fail only for a reason
// of its own (too large, not UTF-8), and "too large" only for a body over the limit; anything
// else aborts the run.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "weather/https_get.hpp"

namespace fuzz {

inline bool is_body_failure(const vessa::Error& error) {
  const std::string& m = error.message();
  return m == vessa::https_message::kTooLarge || m == vessa::https_message::kNotUtf8;
}

// The body's text, or nothing when the body check refused the bytes as it should.
inline std::optional<std::string> response_text(const std::uint8_t* data, std::size_t size) {
  vessa::ResponseBody body;
  for (std::size_t offset = 0; offset < size; offset += vessa::kHttpsReadChunkBytes) {
    const std::size_t chunk = size - offset < vessa::kHttpsReadChunkBytes ? size - offset : vessa::kHttpsReadChunkBytes;
    const vessa::Status appended = body.append(reinterpret_cast<const char*>(data) + offset, chunk);
    if (!appended) {
      if (size <= vessa::kHttpsLargestBodyBytes || !is_body_failure(appended.error())) std::abort();
      return std::nullopt;
    }
  }
  vessa::Result<std::string> text = std::move(body).take_text();
  if (!text) {
    if (!is_body_failure(text.error())) std::abort();
    return std::nullopt;
  }
  return std::move(*text);
}

}  // namespace fuzz
