// The main of the Windows-side test programs. They read the windows of vessa.exe, which is
// per-monitor DPI aware, so they are too: Windows (and Wine 10) give a process that is not
// the coordinates of other windows scaled to 96 DPI. Set first, before anything reads the screen.
#include <windows.h>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  if (!SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) {
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE);  // before Windows 10 1703
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
