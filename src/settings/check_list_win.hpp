#pragma once
// The disk check list (class VessaCheckList): a small topmost popup under the disk button with
// one check box per disk, "All" first. It edits the settings window's selection flags in place
// and tells the window after every toggle; it destroys itself when it loses activation. The
// settings window owns the object, and through it the popup.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/window_win.hpp"
#include "config/colors.hpp"

namespace vessa {

inline constexpr int kCheckListFirstId = 1000;

struct CheckListLook {
  HFONT font = nullptr;         // borrowed from the settings window
  HBRUSH background = nullptr;  // borrowed: the window-background brush
  SettingsPalette palette{};
  bool dark = false;
  std::uint32_t dpi = 96;
};

class CheckList : public Window<CheckList> {
 public:
  static constexpr wchar_t kClassName[] = L"VessaCheckList";

  CheckList() noexcept = default;

  // Opens the popup under `anchor` (screen pixels), as wide as it, over `selection`, whose
  // first entry is "All" (labelled `all_text`). `changed` runs after every toggle. An open
  // popup is replaced.
  bool open(HWND owner, const RECT& anchor, const std::vector<std::string>& names, const std::string& all_text,
            std::vector<bool>& selection, const CheckListLook& look, std::function<void()> changed);

  LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  void toggled(int id);
  void enable_disks();

  std::vector<bool>* selection_ = nullptr;
  std::vector<HWND> boxes_;
  std::function<void()> changed_;
  CheckListLook look_{};
};

}  // namespace vessa
