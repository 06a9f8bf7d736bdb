#pragma once
// Lengths are kept at 96 DPI and scaled to a window's DPI; a DPI the system reports as 0 (a
// window that has gone, no monitor) counts as 96.

#include <cstdint>

namespace vessa {

[[nodiscard]] constexpr std::uint32_t effective_dpi(std::uint32_t dpi) noexcept { return dpi == 0 ? 96 : dpi; }

}  // namespace vessa
