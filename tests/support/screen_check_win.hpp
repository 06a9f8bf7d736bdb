#pragma once
// Checking what a layered window shows on Wine's screen against the pixels its frame should
// give, and letting time pass while this thread's windows keep receiving their messages.

#include <chrono>
#include <cstdint>
#include <string>

#include "harness_win.hpp"
#include "render/canvas.hpp"
#include "render/frame.hpp"

namespace vessa::test {

// Wine shows a layered window's premultiplied pixels as they are (alpha is not blended;
// alpha 1 shows black), so the screen shows exactly the rasterised colour channels.
PixelBuffer expected_pixels(const FrameModel& frame, std::int32_t width, std::int32_t height);

// Compares the part of `expected` that lies on the screen, placed at (x, y). Empty when all
// pixels match; otherwise a description of the first mismatches and their count.
std::string compare_on_screen(const ScreenShot& shot, std::int32_t x, std::int32_t y, const PixelBuffer& expected);

// Looks at the screen until it shows `expected` at (x, y): the display may show a pushed frame
// a moment after the push. The differences of the last look (empty when it matched); that look
// goes to `last` when given.
std::string wait_for_screen(std::int32_t x, std::int32_t y, const PixelBuffer& expected, ScreenShot* last = nullptr,
                            std::chrono::milliseconds timeout = std::chrono::seconds(5));

// Lets `duration` pass while this thread's windows keep receiving their messages.
void pump_for(std::chrono::milliseconds duration);

}  // namespace vessa::test
