#pragma once
// The real pointer, moved from a test as a user moves it.

namespace vessa::test {

// Moves the pointer with a real move event (so the window under it gets WM_MOUSEMOVE) and
// repeats until the pointer is there.
void move_pointer(int x, int y);
// Moves the pointer and clicks there (also inside an open menu).
void click(int x, int y, bool right = false);

}  // namespace vessa::test
