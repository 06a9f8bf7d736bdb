// Fuzzes the parsing path of loading config.toml: any bytes give a Config (the defaults when
// the text is rejected), and that Config's canonical text reads back as the same Config, in
// canonical form, with nothing unknown.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/utf.hpp"
#include "config/config_text.hpp"

namespace {

[[noreturn]] void fail() { std::abort(); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  // As loading does it: text that is not UTF-8 is not parsed at all.
  vessa::ConfigReading reading;
  if (vessa::is_valid_utf8(text)) reading = vessa::read_config_text(text);
  if (reading.rejection) {
    if (vessa::one_line(*reading.rejection).find('\n') != std::string::npos) fail();
    if (!(reading.config == vessa::Config{})) fail();
  }

  const vessa::Result<std::string> canonical = vessa::write_config_text(reading.config);
  if (!canonical) fail();
  if (reading.canonical && *canonical != text) fail();

  const vessa::ConfigReading back = vessa::read_config_text(*canonical);
  if (back.rejection || !back.canonical || !back.unknown_keys.empty()) fail();
  if (!vessa::same_config(back.config, reading.config)) fail();
  return 0;
}
