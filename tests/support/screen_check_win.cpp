#include "screen_check_win.hpp"

#include <sstream>

#include "render/rasterize.hpp"

namespace vessa::test {

PixelBuffer expected_pixels(const FrameModel& frame, std::int32_t width, std::int32_t height) {
  PixelBuffer buffer(width, height);
  rasterize(frame, buffer.canvas());
  return buffer;
}

std::string compare_on_screen(const ScreenShot& shot, std::int32_t x, std::int32_t y, const PixelBuffer& expected) {
  std::ostringstream report;
  int mismatches = 0;
  for (std::int32_t row = 0; row < expected.height(); ++row) {
    for (std::int32_t column = 0; column < expected.width(); ++column) {
      const int sx = x + column;
      const int sy = y + row;
      if (sx < 0 || sy < 0 || sx >= shot.width || sy >= shot.height) continue;
      const std::uint32_t want = expected.at(column, row) & 0x00FFFFFFu;
      const std::uint32_t got = shot.at(sx, sy);
      if (want != got) {
        if (mismatches < 8) {
          report << "(" << column << "," << row << ") want " << std::hex << want << " got " << got << std::dec << "; ";
        }
        ++mismatches;
      }
    }
  }
  if (mismatches == 0) return {};
  report << mismatches << " pixels differ";
  return report.str();
}

std::string wait_for_screen(std::int32_t x, std::int32_t y, const PixelBuffer& expected, ScreenShot* last,
                            std::chrono::milliseconds timeout) {
  ScreenShot shot;
  std::string differences;
  wait_until(
      [&] {
        shot = capture_screen();
        differences = compare_on_screen(shot, x, y, expected);
        return differences.empty();
      },
      timeout);
  if (last != nullptr) *last = std::move(shot);
  return differences;
}

void pump_for(std::chrono::milliseconds duration) {
  wait_until([] { return false; }, duration);
}

}  // namespace vessa::test
