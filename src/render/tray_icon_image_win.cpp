#include "render/tray_icon_image_win.hpp"

#include <cstring>

#include "render/tray_icon_image.hpp"
#include "base/win_error_win.hpp"

namespace vessa {

Result<UniqueHicon> draw_tray_icon(std::int32_t width, std::int32_t height, Rgb color) {
  const std::optional<PixelBuffer> pixels = tray_icon_pixels(width, height, color);
  if (!pixels) return Error("アイコンの大きさが不正です");

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows, as the pixel buffer holds them
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueHbitmap color_bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!color_bitmap || bits == nullptr) return last_error("アイコンのビットマップを作成できません");
  std::memcpy(bits, pixels->pixels().data(), pixels->pixels().size() * sizeof(std::uint32_t));

  UniqueHbitmap mask(CreateBitmap(width, height, 1, 1, nullptr));
  if (!mask) return last_error("アイコンのマスクを作成できません");

  ICONINFO icon_info{};
  icon_info.fIcon = TRUE;
  icon_info.xHotspot = 0;
  icon_info.yHotspot = 0;
  icon_info.hbmMask = mask.get();
  icon_info.hbmColor = color_bitmap.get();
  UniqueHicon icon(CreateIconIndirect(&icon_info));
  if (!icon) return last_error("アイコンを作成できません");
  return icon;  // the icon holds copies; both bitmaps go with their owners
}

}  // namespace vessa
