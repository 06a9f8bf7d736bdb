#pragma once
// RenderSurface: a memory DC with a 32-bit top-down DIB section selected into it, kept between
// frames and re-created only when the window's size changes. Owned by the window it draws.

#include <windows.h>

#include <cstdint>

#include "base/unique_handle_win.hpp"

namespace vessa {

struct RenderSurface {
  UniqueMemoryDc dc;
  UniqueHbitmap bitmap;  // selected into dc while both exist
  HGDIOBJ previous_bitmap = nullptr;
  std::uint32_t* pixels = nullptr;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

}  // namespace vessa
