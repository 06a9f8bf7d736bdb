#include "weather/https_get.hpp"

#include <cstdint>
#include <optional>

#include "base/utf.hpp"

namespace vessa {
namespace {

// The length a UTF-8 lead byte announces; 1 for anything that cannot start a sequence.
std::size_t announced_length(unsigned char lead) noexcept {
  if ((lead & 0xE0u) == 0xC0u) return 2;
  if ((lead & 0xF0u) == 0xE0u) return 3;
  if ((lead & 0xF8u) == 0xF0u) return 4;
  return 1;
}

// Where the first invalid sequence of `text` starts, if there is one.
std::optional<std::size_t> first_invalid_utf8(std::string_view text) {
  if (is_valid_utf8(text)) return std::nullopt;
  std::size_t position = 0;
  while (position < text.size()) {
    const std::size_t length = announced_length(static_cast<unsigned char>(text[position]));
    if (!is_valid_utf8(text.substr(position, length))) return position;
    position += length;
  }
  return text.size();
}

}  // namespace

std::string https_user_agent() {
  std::string agent = "VESSA/" VESSA_VERSION " (+";
  agent += kProductWebPage;
  agent += ')';
  return agent;
}

Error http_status_error(std::uint32_t status) {
  return Error("天気の取得が HTTP " + std::to_string(status) + " で失敗しました");
}

Status ResponseBody::append(const char* data, std::size_t size) {
  bytes_.append(data, size);
  if (bytes_.size() > kHttpsLargestBodyBytes) return Error(std::string(https_message::kTooLarge));
  return {};
}

Result<std::string> ResponseBody::take_text() && {
  if (const auto invalid = first_invalid_utf8(bytes_)) {
    return Error(std::string(https_message::kNotUtf8),
                 Error("invalid UTF-8 sequence at byte " + std::to_string(*invalid)));
  }
  return std::move(bytes_);
}

}  // namespace vessa
