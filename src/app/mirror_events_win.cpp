#include "app/mirror_events_win.hpp"

#include "app/app_state_win.hpp"
#include "app/bar_controller_win.hpp"

namespace vessa {
namespace {

class AppMirrorEvents final : public MirrorEvents {
 public:
  explicit AppMirrorEvents(AppState& state) noexcept : state_(state) {}

  void mirror_hovered(HWND mirror, const Placement& placement, std::uint32_t dpi, bool vertical) override {
    hovered_ = mirror;
    hovered_anchor_ = placement;
    // Moving within the same mirror rebuilds nothing.
    if (state_.hovering && state_.tooltip_anchor == placement) return;
    state_.hovering = true;
    state_.tooltip_anchor = placement;
    state_.tooltip_dpi = dpi;
    state_.tooltip_orientation = vertical ? TooltipOrientation::Vertical : TooltipOrientation::Horizontal;
    refresh_tooltip(state_);
  }

  void mirror_left() override {
    state_.reset_hover();
    hide_tooltip(state_);
  }

  // A window that goes sends no leave: the hover it began ends with it, unless the tooltip has
  // moved on since (to the bars, the tray icon or another mirror).
  void mirror_gone(HWND mirror) noexcept override {
    if (mirror != hovered_) return;
    hovered_ = nullptr;
    if (!state_.hovering || state_.tooltip_anchor != hovered_anchor_) return;
    state_.reset_hover();
    hide_tooltip(state_);
  }

  // The bar window's own menu path: the same menu with the same owner, its command run on
  // the bar window, the hover reset and the tooltip hidden first. The command may destroy the
  // bar window (Exit) or this mirror (new settings) before the call returns: nothing is
  // touched after it.
  void mirror_menu() override {
    HWND bar = state_.bar_window();
    if (bar != nullptr) SendMessageW(bar, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(bar), MAKELPARAM(-1, -1));
  }

 private:
  AppState& state_;
  HWND hovered_ = nullptr;     // the mirror the pointer last moved over
  Placement hovered_anchor_;  // the tooltip's anchor it asked for
};

}  // namespace

std::unique_ptr<MirrorEvents> make_mirror_events(AppState& state) { return std::make_unique<AppMirrorEvents>(state); }

}  // namespace vessa
