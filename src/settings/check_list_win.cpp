#include "settings/check_list_win.hpp"

#include <algorithm>

#include "base/wide_win.hpp"
#include "render/gdi_win.hpp"
#include "settings/settings_layout.hpp"
#include "settings/settings_theme_win.hpp"

namespace vessa {

bool CheckList::open(HWND owner, const RECT& anchor, const std::vector<std::string>& names,
                     const std::string& all_text, std::vector<bool>& selection, const CheckListLook& look,
                     std::function<void()> changed) {
  destroy();
  boxes_.clear();
  selection_ = &selection;
  changed_ = std::move(changed);
  look_ = look;
  const std::uint32_t dpi = look.dpi;
  // The rows fill the client area; the border comes on top.
  constexpr DWORD kStyle = WS_POPUP | WS_BORDER;
  constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  RECT frame{0, 0, std::max<int>(1, anchor.right - anchor.left), check_list_height(dpi, names.size())};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  const int width = frame.right - frame.left;
  if (create(kExStyle, kStyle, L"", anchor.left, anchor.bottom, width, frame.bottom - frame.top,
             owner) == nullptr) {
    return false;
  }
  apply_dark_title_bar(hwnd(), look.dark);

  const int inset = scale_length(10, dpi);
  const int step = dpi_fraction(dpi, 4);
  const int box_width = std::max<int>(1, anchor.right - anchor.left - 2 * inset);
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::wstring text = widen(i == 0 ? all_text : names[i]);
    HWND box = CreateWindowExW(0, L"BUTTON", text.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX,
                               inset, inset + static_cast<int>(i) * step, box_width,
                               scale_length(20, dpi), hwnd(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCheckListFirstId + static_cast<int>(i))),
                               GetModuleHandleW(nullptr), nullptr);
    if (box == nullptr) continue;  // left out; the rest still work
    if (look.font != nullptr) SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(look.font), FALSE);
    apply_control_theme(box, look.dark);
    const bool checked = i < selection.size() && selection[i];
    SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    boxes_.push_back(box);
  }
  enable_disks();
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
  return true;
}

void CheckList::enable_disks() {
  const bool all = selection_ != nullptr && !selection_->empty() && (*selection_)[0];
  for (std::size_t i = 1; i < boxes_.size(); ++i) EnableWindow(boxes_[i], all ? FALSE : TRUE);
}

void CheckList::toggled(int id) {
  if (selection_ == nullptr) return;
  const int index = id - kCheckListFirstId;
  if (index < 0 || static_cast<std::size_t>(index) >= selection_->size()) return;
  HWND box = GetDlgItem(hwnd(), id);
  (*selection_)[static_cast<std::size_t>(index)] = SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
  enable_disks();
  if (changed_) changed_();
}

LRESULT CheckList::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wparam) == BN_CLICKED) toggled(LOWORD(wparam));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE) {
        // Closing the list hands the keyboard back to the settings window.
        PostMessageW(hwnd(), WM_CLOSE, 0, 0);
      }
      return 0;
    case WM_CLOSE:
      destroy();
      return 0;
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(hwnd(), &client);
      if (look_.background != nullptr) FillRect(reinterpret_cast<HDC>(wparam), &client, look_.background);
      return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return control_colors(wparam, look_.palette.grey1, look_.palette.window_background, look_.background);
    default:
      return default_handling(message, wparam, lparam);
  }
}

}  // namespace vessa
