#pragma once
// RenderSurface: a memory DC with a 32-bit top-down DIB section selected into it, kept between
// frames and re-created only when the window's size changes. Owned by the window it draws
// (the bar window's lives in AppState); releasing it selects the DC's own bitmap back, then
// deletes the DIB and the DC, in this order, so that neither outlives it.
//
// It also remembers what it last handed to a window (the frame, the window, the placement):
// a layered window keeps the pixels it was given, so the same frame again for the same window
// at the same place needs neither painting nor pushing.

#include <windows.h>

#include <cstdint>

#include "base/unique_handle_win.hpp"
#include "render/frame.hpp"
#include "render/geometry.hpp"

namespace vessa {

class RenderSurface {
 public:
  RenderSurface() = default;
  ~RenderSurface() { reset(); }
  RenderSurface(const RenderSurface&) = delete;
  RenderSurface& operator=(const RenderSurface&) = delete;
  RenderSurface(RenderSurface&& other) noexcept { take(other); }
  RenderSurface& operator=(RenderSurface&& other) noexcept {
    if (this != &other) {
      reset();
      take(other);
    }
    return *this;
  }

  // Makes sure a DIB of `width` × `height` (each at least 1) is selected into the DC. Keeps
  // the present one when its size matches; otherwise makes a new one. False when any step
  // fails; then nothing is kept and the next call tries again.
  [[nodiscard]] bool ensure(std::int32_t width, std::int32_t height) noexcept;
  void reset() noexcept;

  [[nodiscard]] HDC dc() const noexcept { return dc_.get(); }
  [[nodiscard]] HBITMAP bitmap() const noexcept { return bitmap_.get(); }
  [[nodiscard]] std::uint32_t* pixels() const noexcept { return pixels_; }
  [[nodiscard]] std::int32_t width() const noexcept { return width_; }
  [[nodiscard]] std::int32_t height() const noexcept { return height_; }
  // How many times a DIB was made: one per size change.
  [[nodiscard]] std::uint64_t generation() const noexcept { return generation_; }

  // True when `frame` is what `window` was last given from this surface, at `placement`.
  [[nodiscard]] bool window_shows(HWND window, const Placement& placement, const FrameModel& frame) const noexcept {
    return pushed_window_ != nullptr && pushed_window_ == window && pushed_placement_ == placement &&
           pushed_frame_ == frame;
  }
  // Records a frame just handed to a window.
  void remember_pushed(HWND window, const Placement& placement, const FrameModel& frame);
  // The next push paints and pushes whatever it is given: the window may have lost its
  // pixels, or another window may now have the same handle.
  void forget_pushed() noexcept { pushed_window_ = nullptr; }

 private:
  void take(RenderSurface& other) noexcept;

  UniqueMemoryDc dc_;
  UniqueHbitmap bitmap_;  // selected into dc_ while both exist
  HGDIOBJ previous_bitmap_ = nullptr;
  std::uint32_t* pixels_ = nullptr;
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  std::uint64_t generation_ = 0;
  HWND pushed_window_ = nullptr;  // none: nothing remembered
  Placement pushed_placement_;
  FrameModel pushed_frame_;
};

}  // namespace vessa
