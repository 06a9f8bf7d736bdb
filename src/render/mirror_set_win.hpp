#pragma once
// The mirrors of the bars on the taskbars of secondary displays: the mirror list (plain
// records, mirror_list.hpp) and the VessaMirrorWindow windows over the secondary taskbars,
// each owning its drawing surface. The application keeps one MirrorSet for its life; the
// layout updates it, the drawing draws it after the bar window, the Show command sets its
// visibility, and attach puts its windows back in z-order. What a mirror's pointer and menu
// messages mean is the application's: it hands in a MirrorEvents. Main thread only.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "config/config.hpp"
#include "render/frame.hpp"
#include "render/geometry.hpp"
#include "render/mirror_list.hpp"
#include "render/taskbar_buttons_win.hpp"

namespace vessa {

class WeatherIconCache;
class MirrorWindow;

// What the application does with a mirror's messages.
class MirrorEvents {
 public:
  virtual ~MirrorEvents() = default;
  // The pointer moved over `mirror`, laid out at `placement` (screen pixels) on a taskbar of
  // `dpi`, turned when `vertical`.
  virtual void mirror_hovered(HWND mirror, const Placement& placement, std::uint32_t dpi, bool vertical) = 0;
  // The pointer left a mirror.
  virtual void mirror_left() = 0;
  // `mirror` is going or has gone (its taskbar went, the mirrors were cleared, or another
  // program closed it): no leave comes from it any more.
  virtual void mirror_gone(HWND mirror) noexcept = 0;
  // A right click on a mirror: the bars' menu. Mirrors may be destroyed before this returns.
  virtual void mirror_menu() = 0;
};

// Builds one mirror's frame from its own geometry, size, DPI and orientation.
using MirrorFrameBuilder = std::function<FrameModel(const MirrorRecord&)>;

class MirrorSet {
 public:
  MirrorSet();
  ~MirrorSet();  // destroys every mirror window with its surface
  MirrorSet(const MirrorSet&) = delete;
  MirrorSet& operator=(const MirrorSet&) = delete;

  void set_events(std::unique_ptr<MirrorEvents> events);
  // Where a secondary taskbar's clock is: find_clock_area, unless another search is handed in
  // (one that answers as a slow shell would, letting messages through while it waits).
  using ClockSearch = std::function<std::optional<RECT>(HWND taskbar)>;
  void set_clock_search(ClockSearch search) { clock_search_ = std::move(search); }

  // Brings the mirrors in step with the secondary taskbars and places them (writing the
  // --debug lines); true when a mirror was created or destroyed or any mirror changed.
  [[nodiscard]] bool update(const Config& config, AttachMode mode, bool visible);
  // Puts every mirror back directly above its secondary taskbar.
  void raise();
  // One look at every mirror's secondary taskbar: raises the mirrors that were covered or left
  // in the other band, hides those whose taskbar is hidden and shows them again with it when
  // `visible` (the bars' shared visibility); true when a secondary taskbar, or with
  // `tray_left` its notification area, moved since the last update (lay out again). A steady
  // taskbar costs a few reads and nothing else.
  [[nodiscard]] bool follow(bool visible, bool tray_left);
  // The secondary taskbars that have a mirror window.
  [[nodiscard]] std::vector<HWND> taskbars() const;
  // Shows (without activation) or hides every mirror window; a mirror over a hidden taskbar
  // stays hidden.
  void set_visible(bool visible);
  // What the newest scan of the taskbars' buttons found; the next update places the mirrors
  // clear of them.
  void set_taskbar_elements(std::vector<TaskbarElements> scanned) { elements_ = std::move(scanned); }
  // Destroys every mirror window and forgets the list.
  void clear();
  // Draws and pushes every laid-out mirror at its placement.
  void draw(const MirrorFrameBuilder& frame_for, WeatherIconCache* icon_cache);

  [[nodiscard]] const MirrorList& list() const noexcept { return list_; }
  [[nodiscard]] MirrorEvents* events() const noexcept { return events_.get(); }

 private:
  class World;
  [[nodiscard]] MirrorWindow* window_of(TaskbarId taskbar) const;
  // Whether the mirror over `taskbar` is to be seen: the bars' shared visibility, a taskbar
  // that shows, and room beside its buttons.
  [[nodiscard]] bool shown(TaskbarId taskbar, bool visible) const;

  std::unique_ptr<MirrorEvents> events_;  // declared first: outlives the windows
  MirrorList list_;
  std::vector<std::unique_ptr<MirrorWindow>> windows_;
  ClockSearch clock_search_;
  std::vector<TaskbarElements> elements_;
};

}  // namespace vessa
