#include "render/render_surface_win.hpp"

#include <utility>

namespace vessa {

bool RenderSurface::ensure(std::int32_t width, std::int32_t height) noexcept {
  if (width < 1 || height < 1) return false;
  if (bitmap_ && pixels_ != nullptr && width_ == width && height_ == height) return true;
  reset();

  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  if (!dc) return false;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueHbitmap bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || bits == nullptr) return false;
  HGDIOBJ previous = SelectObject(dc.get(), bitmap.get());
  if (previous == nullptr || previous == HGDI_ERROR) return false;

  dc_ = std::move(dc);
  bitmap_ = std::move(bitmap);
  previous_bitmap_ = previous;
  pixels_ = static_cast<std::uint32_t*>(bits);
  width_ = width;
  height_ = height;
  ++generation_;
  return true;
}

void RenderSurface::remember_pushed(HWND window, const Placement& placement, const FrameModel& frame) {
  pushed_frame_ = frame;  // the shapes' storage is reused from the last time
  pushed_placement_ = placement;
  pushed_window_ = window;
}

void RenderSurface::reset() noexcept {
  // A bitmap still selected into a DC cannot be deleted: give the DC its own one back first.
  if (dc_ && previous_bitmap_ != nullptr) SelectObject(dc_.get(), previous_bitmap_);
  previous_bitmap_ = nullptr;
  bitmap_.reset();
  dc_.reset();
  pixels_ = nullptr;
  width_ = 0;
  height_ = 0;
  forget_pushed();
}

void RenderSurface::take(RenderSurface& other) noexcept {
  dc_ = std::move(other.dc_);
  bitmap_ = std::move(other.bitmap_);
  previous_bitmap_ = std::exchange(other.previous_bitmap_, nullptr);
  pixels_ = std::exchange(other.pixels_, nullptr);
  width_ = std::exchange(other.width_, 0);
  height_ = std::exchange(other.height_, 0);
  generation_ = other.generation_;
  pushed_window_ = std::exchange(other.pushed_window_, nullptr);
  pushed_placement_ = other.pushed_placement_;
  pushed_frame_ = std::move(other.pushed_frame_);
}

}  // namespace vessa
