#pragma once
// One mirror window (class VessaMirrorWindow): a topmost, layered, non-activating popup over
// a secondary taskbar, owning the surface its frames are drawn into. Its pointer and menu
// messages go to the application through the set's MirrorEvents. Owned by a MirrorSet.

#include <windows.h>


#include "base/window_win.hpp"
#include "render/geometry.hpp"
#include "render/mirror_world.hpp"
#include "render/render_surface_win.hpp"

namespace vessa {

class MirrorSet;

class MirrorWindow final : public Window<MirrorWindow> {
 public:
  static constexpr wchar_t kClassName[] = L"VessaMirrorWindow";

  MirrorWindow(const MirrorSet& set, TaskbarId taskbar) noexcept : set_(set), taskbar_(taskbar) {}
  ~MirrorWindow();  // tells the set's events that the window goes

  // Creates the window (1 × 1 at the origin until its first frame); false on failure.
  [[nodiscard]] bool create_window() noexcept;

  [[nodiscard]] TaskbarId taskbar() const noexcept { return taskbar_; }
  [[nodiscard]] RenderSurface& surface() noexcept { return surface_; }

  LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  const MirrorSet& set_;
  TaskbarId taskbar_;
  RenderSurface surface_;
};

}  // namespace vessa
