// Fuzzes the weather icon's drawing with any box, condition and small canvas: no memory
// outside the canvas is touched, the cached and the uncached drawings are the same, and
// nothing is drawn outside the icon's square.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "render/canvas.hpp"
#include "render/weather_icon.hpp"

namespace {

[[noreturn]] void fail() { std::abort(); }

template <typename T>
T take(const std::uint8_t*& data, std::size_t& size) {
  T value{};
  const std::size_t n = size < sizeof(T) ? size : sizeof(T);
  std::memcpy(&value, data, n);
  data += n;
  size -= n;
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto width = static_cast<std::int32_t>(take<std::uint8_t>(data, size) % 48 + 1);
  const auto height = static_cast<std::int32_t>(take<std::uint8_t>(data, size) % 48 + 1);
  const auto kind = static_cast<std::uint8_t>(take<std::uint8_t>(data, size) % 10);  // 8, 9: no icon
  vessa::IconBox box;
  box.x0 = take<std::int32_t>(data, size);
  box.y0 = take<std::int32_t>(data, size);
  // Mostly boxes of a sensible size near the canvas, sometimes anything at all.
  if (take<std::uint8_t>(data, size) % 4 != 0) {
    box.x0 = box.x0 % 80 - 20;
    box.y0 = box.y0 % 80 - 20;
    box.x1 = box.x0 + take<std::uint8_t>(data, size) % 72;
    box.y1 = box.y0 + take<std::uint8_t>(data, size) % 72;
  } else {
    box.x1 = take<std::int32_t>(data, size);
    box.y1 = take<std::int32_t>(data, size);
  }
  const auto background = take<std::uint32_t>(data, size) | 0xFF000000u;
  const vessa::Rgb color{take<std::uint8_t>(data, size), take<std::uint8_t>(data, size), take<std::uint8_t>(data, size)};

  vessa::PixelBuffer uncached(width, height);
  vessa::PixelBuffer cached(width, height);
  for (vessa::PixelBuffer* buffer : {&uncached, &cached}) {
    vessa::Canvas canvas = buffer->canvas();
    for (std::int32_t i = 0; i < width * height; ++i) canvas.pixels[i] = background;
  }
  // Huge squares take long to sample; the visible part is what is drawn, so keep it small.
  vessa::draw_weather_icon(uncached.canvas(), box, color, kind);
  vessa::WeatherIconCache cache;
  vessa::draw_weather_icon(cached.canvas(), box, color, kind, cache);
  if (cached.pixels() != uncached.pixels()) fail();

  const std::int64_t side = std::min<std::int64_t>(std::int64_t{box.x1} - box.x0, std::int64_t{box.y1} - box.y0);
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) {
      const bool in_square = side > 0 && x >= box.x0 && y >= box.y0 && x - std::int64_t{box.x0} < side &&
                             y - std::int64_t{box.y0} < side;
      if (!in_square && uncached.at(x, y) != background) fail();
      if ((uncached.at(x, y) >> 24) != 0xFFu) fail();  // over an opaque background it stays opaque
    }
  }
  return 0;
}
