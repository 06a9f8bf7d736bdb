#pragma once
// The real pointer and keyboard, used from a test as a user uses them.

namespace vessa::test {

// Moves the pointer with a real move event (so the window under it gets WM_MOUSEMOVE) and
// repeats until the pointer is there.
void move_pointer(int x, int y);
// Moves the pointer and clicks there (also inside an open menu).
void click(int x, int y, bool right = false);
// Presses and releases the key `virtual_key` (to whatever has the keyboard: an open menu).
void press_key(unsigned short virtual_key);

}  // namespace vessa::test
