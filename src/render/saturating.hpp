#pragma once
// Saturating 64-bit arithmetic for sizes computed from configuration values. Lengths in the
// configuration are signed 32-bit and get multiplied by the DPI and by item counts; these
// helpers keep every step defined and clamp at the ends of the range instead of wrapping.

#include <cstdint>
#include <limits>

namespace vessa::sat {

inline constexpr std::int64_t kMax64 = std::numeric_limits<std::int64_t>::max();
inline constexpr std::int64_t kMin64 = std::numeric_limits<std::int64_t>::min();

[[nodiscard]] constexpr std::int64_t add(std::int64_t a, std::int64_t b) noexcept {
  if (b > 0 && a > kMax64 - b) return kMax64;
  if (b < 0 && a < kMin64 - b) return kMin64;
  return a + b;
}

[[nodiscard]] constexpr std::int64_t sub(std::int64_t a, std::int64_t b) noexcept {
  if (b > 0 && a < kMin64 + b) return kMin64;
  if (b < 0 && a > kMax64 + b) return kMax64;
  return a - b;
}

[[nodiscard]] constexpr std::int64_t mul(std::int64_t a, std::int64_t b) noexcept {
  if (a == 0 || b == 0) return 0;
  const bool negative = (a < 0) != (b < 0);
  const std::uint64_t ua = a < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(a) : static_cast<std::uint64_t>(a);
  const std::uint64_t ub = b < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(b) : static_cast<std::uint64_t>(b);
  const std::uint64_t limit = negative ? std::uint64_t{1} << 63 : static_cast<std::uint64_t>(kMax64);
  if (ua > limit / ub) return negative ? kMin64 : kMax64;
  const std::uint64_t product = ua * ub;
  if (!negative) return static_cast<std::int64_t>(product);
  if (product == std::uint64_t{1} << 63) return kMin64;
  return -static_cast<std::int64_t>(product);
}

// v × dpi / 96, truncated toward zero: a 96-DPI length in a window's pixels.
[[nodiscard]] constexpr std::int64_t scaled(std::int64_t v, std::uint32_t dpi) noexcept {
  return mul(v, dpi) / 96;
}

[[nodiscard]] constexpr std::int32_t to_i32(std::int64_t v) noexcept {
  if (v > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (v < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(v);
}

[[nodiscard]] constexpr std::uint32_t to_u32(std::int64_t v) noexcept {
  if (v < 0) return 0;
  if (v > std::int64_t{std::numeric_limits<std::uint32_t>::max()}) return std::numeric_limits<std::uint32_t>::max();
  return static_cast<std::uint32_t>(v);
}

// A count (of items, of lamps) as a signed 64-bit value.
[[nodiscard]] constexpr std::int64_t count(std::uint64_t n) noexcept {
  return n > static_cast<std::uint64_t>(kMax64) ? kMax64 : static_cast<std::int64_t>(n);
}

}  // namespace vessa::sat
