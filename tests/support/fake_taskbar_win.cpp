#include "fake_taskbar_win.hpp"

#include <cstdlib>
#include <cstring>
#include <string>

namespace vessa::test {
namespace {

void register_classes(WNDPROC taskbar_procedure) {
  static const bool registered = [&] {
    WNDCLASSW taskbar{};
    taskbar.lpfnWndProc = taskbar_procedure;
    taskbar.hInstance = GetModuleHandleW(nullptr);
    taskbar.hbrBackground = CreateSolidBrush(RGB(0x30, 0x50, 0x70));
    taskbar.lpszClassName = L"Shell_TrayWnd";
    RegisterClassW(&taskbar);
    WNDCLASSW secondary = taskbar;
    secondary.lpszClassName = L"Shell_SecondaryTrayWnd";
    RegisterClassW(&secondary);
    WNDCLASSW tray = taskbar;
    tray.hbrBackground = CreateSolidBrush(RGB(0x70, 0x50, 0x30));
    tray.lpszClassName = L"TrayNotifyWnd";
    RegisterClassW(&tray);
    return true;
  }();
  (void)registered;
}

RECT relative(RECT inner, RECT outer) {
  return RECT{inner.left - outer.left, inner.top - outer.top, inner.right - outer.left, inner.bottom - outer.top};
}

// Wine 10 put the icon's size (16 bytes) after uCallbackMessage, ahead of all the fields read
// here, and a balloon icon's size (16 more) after the GUID, at the record's end.
std::size_t wine_record_shift() {
  static const std::size_t shift = [] {
    using WineVersion = const char*(CDECL*)();
    const auto wine_version =
        reinterpret_cast<WineVersion>(reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")));
    return wine_version != nullptr && std::atoi(wine_version()) >= 10 ? std::size_t{16} : std::size_t{0};
  }();
  return shift;
}

}  // namespace

std::optional<IconRequest> decode_icon_request(const COPYDATASTRUCT& data) {
  // Wine 8's record, by offset: uFlags 8, szInfo 280, uVersion 792, szInfoTitle 796; the icon's
  // bits follow its 944 bytes.
  const std::size_t shift = wine_record_shift();
  if (data.lpData == nullptr || data.cbData < 944 + 2 * shift) return std::nullopt;
  const auto* bytes = static_cast<const unsigned char*>(data.lpData);
  const auto number = [&](std::size_t at) {
    UINT value = 0;
    std::memcpy(&value, bytes + at, sizeof(value));
    return value;
  };
  const auto text = [&](std::size_t at, std::size_t units) {
    std::wstring wide(units, L'\0');
    std::memcpy(wide.data(), bytes + at, units * sizeof(wchar_t));
    return wide.substr(0, wide.find(L'\0'));
  };
  return IconRequest{static_cast<DWORD>(data.dwData), number(8), number(792 + shift), text(796 + shift, 64),
                     text(280 + shift, 256)};
}

LRESULT CALLBACK FakeTaskbar::procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* taskbar = reinterpret_cast<FakeTaskbar*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_COPYDATA && taskbar != nullptr) {
    const auto request = decode_icon_request(*reinterpret_cast<const COPYDATASTRUCT*>(lparam));
    return request && taskbar->answer_ && taskbar->answer_(*request) ? TRUE : FALSE;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

void refresh_work_area() { ChangeDisplaySettingsExW(nullptr, nullptr, nullptr, 0, nullptr); }

void raise_win_event(DWORD event, HWND window, LONG object) {
  // A message taken brings the thread's record of the hooks up to date; peeking with nothing
  // there does not.
  constexpr UINT kRefresh = WM_APP + 0x3FF;
  PostThreadMessageW(GetCurrentThreadId(), kRefresh, 0, 0);
  MSG message;
  PeekMessageW(&message, nullptr, kRefresh, kRefresh, PM_REMOVE);
  NotifyWinEvent(event, window, object, CHILDID_SELF);
}

FakeTaskbar::FakeTaskbar(RECT rect, std::optional<RECT> tray, Kind kind) : rect_(rect) {
  register_classes(&FakeTaskbar::procedure);
  // Shown without activation, as the shell shows its taskbar: activating it would raise it
  // over windows that other programs put above it.
  const wchar_t* class_name = kind == Kind::Primary ? L"Shell_TrayWnd" : L"Shell_SecondaryTrayWnd";
  window_.reset(CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, class_name, L"", WS_POPUP,
                                rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr));
  SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ShowWindow(window_.get(), SW_SHOWNOACTIVATE);
  if (tray) {
    const RECT inside = relative(*tray, rect);
    tray_ = CreateWindowExW(0, L"TrayNotifyWnd", L"", WS_CHILD | WS_VISIBLE, inside.left, inside.top,
                            inside.right - inside.left, inside.bottom - inside.top, window_.get(), nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  }
  refresh_work_area();
}

FakeTaskbar::~FakeTaskbar() {
  window_.reset();  // the tray goes with it
  refresh_work_area();
}

void FakeTaskbar::move(RECT rect) {
  rect_ = rect;
  SetWindowPos(window_.get(), nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  refresh_work_area();
}

void FakeTaskbar::move_tray(RECT tray) {
  if (tray_ == nullptr) return;
  const RECT inside = relative(tray, rect_);
  SetWindowPos(tray_, nullptr, inside.left, inside.top, inside.right - inside.left, inside.bottom - inside.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace vessa::test
