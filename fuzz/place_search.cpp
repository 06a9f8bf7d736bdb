// Fuzzes what a place-search answer goes through after the network: the body check (size and
// UTF-8) and the parsing into matches. Any bytes give matches or one of the known messages;
// every match has a name, no empty optional part, and the area filter holds. The same bytes
// as a typed query must percent-encode into the unreserved characters and "%XX" only.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cctype>
#include <cstdlib>
#include <string>
#include <string_view>

#include "response_body.hpp"
#include "weather/place_search.hpp"

namespace {

[[noreturn]] void fail() { std::abort(); }

bool known_failure(const vessa::Error& error) {
  const std::string& m = error.message();
  return m == vessa::place_message::kNotJson;
}

bool is_area(const vessa::PlaceCandidate& c) {
  return c.type && (*c.type == "city" || *c.type == "state" || *c.type == "county" || *c.type == "district");
}

bool empty_part(const std::optional<std::string>& part) { return part && part->empty(); }

void check_query(std::string_view query) {
  const std::string encoded = vessa::percent_encode(query);
  std::size_t decoded_bytes = 0;
  for (std::size_t i = 0; i < encoded.size(); ++decoded_bytes) {
    const unsigned char c = static_cast<unsigned char>(encoded[i]);
    if (c == '%') {
      if (encoded.size() - i < 3 || !std::isxdigit(static_cast<unsigned char>(encoded[i + 1])) ||
          !std::isxdigit(static_cast<unsigned char>(encoded[i + 2]))) {
        fail();
      }
      i += 3;
    } else {
      if (!std::isalnum(c) && c != '-' && c != '.' && c != '_' && c != '~') fail();
      ++i;
    }
  }
  if (decoded_bytes != query.size()) fail();
  (void)vessa::place_search_path(vessa::trim_place_query(query), true);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  check_query(std::string_view(reinterpret_cast<const char*>(data), size));

  const std::optional<std::string> text = fuzz::response_text(data, size);
  if (!text) return 0;
  const auto found = vessa::parse_place_search(*text);
  if (!found) {
    if (!known_failure(found.error())) fail();
    return 0;
  }
  const bool any_area = std::any_of(found->begin(), found->end(), is_area);
  for (const vessa::PlaceCandidate& c : *found) {
    if (c.name.empty() || empty_part(c.state) || empty_part(c.country) || empty_part(c.type)) fail();
    if (any_area && !is_area(c)) fail();
    if (vessa::candidate_label(c).rfind(c.name, 0) != 0) fail();
  }
  return 0;
}
