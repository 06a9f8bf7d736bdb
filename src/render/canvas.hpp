#pragma once
// Pixel buffers: 32-bit premultiplied-alpha pixels, 0xAARRGGBB as integers (blue, green, red,
// alpha in memory order, as a top-down 32-bit DIB section expects), rows top to bottom.
//
// Canvas is a view: it does not own its pixels. A PixelBuffer owns them; a DIB section's
// memory can be viewed as a Canvas too.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vessa {

struct Canvas {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint32_t* pixels = nullptr;  // width * height values

  [[nodiscard]] std::uint32_t& at(std::int32_t x, std::int32_t y) noexcept {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
  }
  [[nodiscard]] std::uint32_t at(std::int32_t x, std::int32_t y) const noexcept {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
  }
};

class PixelBuffer {
 public:
  PixelBuffer() = default;
  // Zero-filled (fully transparent).
  PixelBuffer(std::int32_t width, std::int32_t height)
      : width_(width < 0 ? 0 : width),
        height_(height < 0 ? 0 : height),
        pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0u) {}

  [[nodiscard]] Canvas canvas() noexcept { return Canvas{width_, height_, pixels_.data()}; }
  [[nodiscard]] std::int32_t width() const noexcept { return width_; }
  [[nodiscard]] std::int32_t height() const noexcept { return height_; }
  [[nodiscard]] const std::vector<std::uint32_t>& pixels() const noexcept { return pixels_; }
  [[nodiscard]] std::uint32_t at(std::int32_t x, std::int32_t y) const noexcept {
    return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
  }

 private:
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  std::vector<std::uint32_t> pixels_;
};

// Builds a premultiplied pixel from straight colour channels and an alpha, rounding each
// channel as (c * a + 127) / 255.
[[nodiscard]] constexpr std::uint32_t premultiply(std::uint8_t r, std::uint8_t g, std::uint8_t b,
                                                  std::uint8_t a) noexcept {
  const auto scale = [a](std::uint32_t c) { return (c * a + 127u) / 255u; };
  return (std::uint32_t{a} << 24) | (scale(r) << 16) | (scale(g) << 8) | scale(b);
}

// Source-over blend of a premultiplied source onto a premultiplied destination with the
// integer rounding used everywhere: result = source + (destination * (255 - a) + 127) / 255.
[[nodiscard]] constexpr std::uint32_t blend_over(std::uint32_t destination, std::uint32_t source) noexcept {
  const std::uint32_t alpha = source >> 24;
  if (alpha == 255u) return source;
  if (alpha == 0u) return destination;
  const std::uint32_t keep = 255u - alpha;
  std::uint32_t result = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const std::uint32_t s = (source >> shift) & 0xFFu;
    const std::uint32_t d = (destination >> shift) & 0xFFu;
    const std::uint32_t channel = s + (d * keep + 127u) / 255u;
    result |= (channel > 255u ? 255u : channel) << shift;
  }
  return result;
}

}  // namespace vessa
