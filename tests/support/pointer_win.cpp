#include "pointer_win.hpp"

#include <windows.h>

namespace vessa::test {
namespace {

// A real move event only: the pointer's place and the moves it causes stay in step.
void send_move(int x, int y) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  // 0..65535 spans the first to the last pixel; rounded, so that mapping back lands on (x, y).
  input.mi.dx = static_cast<LONG>((static_cast<long long>(x) * 65535 + width / 2) / (width - 1));
  input.mi.dy = static_cast<LONG>((static_cast<long long>(y) * 65535 + height / 2) / (height - 1));
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof(INPUT));
}

// Wine moves the X pointer with every move, and the program whose window lies under the pointer
// hears of that from X and passes it on as a move of its own. Heard late, after a further move,
// it would take the pointer back here: a hover that ends at once, a click beside the item. This
// sends this thread's X requests out and lets that program handle what X told it first (its
// thread reads X before it answers the second message).
void settle_at(int x, int y) {
  MSG message;
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
  const HWND under = WindowFromPoint(POINT{x, y});
  const HWND root = under != nullptr ? GetAncestor(under, GA_ROOT) : nullptr;
  if (root == nullptr || GetWindowThreadProcessId(root, nullptr) == GetCurrentThreadId()) return;
  for (int round = 0; round < 2; ++round) SendMessageTimeoutW(root, WM_NULL, 0, 0, SMTO_NORMAL, 2000, nullptr);
}

bool pointer_at(int x, int y) {
  POINT now{};
  return GetCursorPos(&now) && now.x == x && now.y == y;
}

}  // namespace

void move_pointer(int x, int y) {
  // While a popup menu of another process is open, Wine reports the pointer where it was; a
  // move made then may be lost once the menu closes. Repeat until the position sticks, placing
  // the pointer directly as well from the second attempt on.
  // A busy machine may take a while to deliver the first move: placing the pointer again
  // before then would make a second move of its own, which a hover test would see.
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (attempt > 0) SetCursorPos(x, y);
    send_move(x, y);
    // Polled without pumping this thread's messages: a caller's windows get them when it waits.
    const int polls = attempt == 0 ? 50 : 5;
    for (int poll = 0; poll < polls; ++poll) {
      Sleep(20);
      if (pointer_at(x, y)) {
        settle_at(x, y);
        return;
      }
    }
  }
}

void click(int x, int y, bool right) {
  send_move(x, y);  // inside an open menu the position is not reported back: no check
  Sleep(100);
  settle_at(x, y);
  INPUT inputs[2] = {};
  inputs[0].type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
  inputs[1].type = INPUT_MOUSE;
  inputs[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
  SendInput(1, &inputs[0], sizeof(INPUT));
  Sleep(30);
  SendInput(1, &inputs[1], sizeof(INPUT));
}

void press_key(unsigned short virtual_key) {
  INPUT inputs[2] = {};
  inputs[0].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = virtual_key;
  inputs[1] = inputs[0];
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
}

}  // namespace vessa::test
