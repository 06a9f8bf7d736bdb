#include <gtest/gtest.h>

#include <limits>

#include "render/canvas.hpp"
#include "render/frame.hpp"
#include "render/rasterize.hpp"

namespace vessa {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

FrameModel background(Rgb color, std::uint8_t alpha) {
  FrameModel frame;
  frame.background = color;
  frame.background_alpha = alpha;
  return frame;
}

PixelBuffer paint(const FrameModel& frame, std::int32_t width, std::int32_t height) {
  PixelBuffer buffer(width, height);
  rasterize(frame, buffer.canvas());
  return buffer;
}

TEST(Raster, BackgroundAlphaZeroIsDrawnAsOne) {
  // #202020 at alpha 1: each channel (32 × 1 + 127) / 255 = 0.
  const PixelBuffer buffer = paint(background(rgb_hex(0x202020), 0), 3, 2);
  for (const std::uint32_t pixel : buffer.pixels()) EXPECT_EQ(pixel, 0x01000000u);
}

TEST(Raster, BackgroundIsPremultipliedWithRounding) {
  // (0xFF × 128 + 127) / 255 = 128, (0x80 × 128 + 127) / 255 = 64, (0x01 × 128 + 127) / 255 = 1.
  EXPECT_EQ(paint(background(rgb_hex(0xFF8001), 128), 1, 1).at(0, 0), 0x80804001u);
  EXPECT_EQ(paint(background(rgb_hex(0x202020), 255), 1, 1).at(0, 0), 0xFF202020u);
}

TEST(Raster, RectanglesHaveWholePixelEdgesAndClip) {
  FrameModel frame = background(rgb_hex(0x000000), 255);
  frame.shapes = {Shape{1, 1, 3, 2, rgb_hex(0xFF0000), 255, false},
                  Shape{-5, 3, 1, 99, rgb_hex(0x00FF00), 255, false},  // clipped to column 0, rows 3..
                  Shape{4, 0, 2, 4, rgb_hex(0x0000FF), 255, false}};   // empty: right before left
  const PixelBuffer buffer = paint(frame, 4, 5);
  const std::uint32_t k = 0xFF000000u, r = 0xFFFF0000u, g = 0xFF00FF00u;
  const std::uint32_t expected[5][4] = {{k, k, k, k}, {k, r, r, k}, {k, k, k, k}, {g, k, k, k}, {g, k, k, k}};
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(buffer.at(x, y), expected[y][x]) << x << "," << y;
  }
}

TEST(Raster, HalfTransparentShapesBlendSourceOverWithRounding) {
  // The default track (#3A3A3A at 64) over the alpha-1 background: source (58 × 64 + 127) / 255
  // = 15 per colour; alpha 64 + (1 × 191 + 127) / 255 = 65; colour 15 + (0 + 127) / 255 = 15.
  FrameModel frame = background(rgb_hex(0x202020), 0);
  frame.shapes = {Shape{0, 0, 1, 1, rgb_hex(0x3A3A3A), 64, false}};
  EXPECT_EQ(paint(frame, 2, 1).at(0, 0), 0x410F0F0Fu);
  EXPECT_EQ(paint(frame, 2, 1).at(1, 0), 0x01000000u);

  // Red at 128 over opaque #202020: red 128 + (32 × 127 + 127) / 255 = 144; green and blue 16.
  frame = background(rgb_hex(0x202020), 255);
  frame.shapes = {Shape{0, 0, 1, 1, rgb_hex(0xFF0000), 128, false}};
  EXPECT_EQ(paint(frame, 1, 1).at(0, 0), 0xFF901010u);

  // Later shapes over earlier ones; alpha 0 leaves the pixel alone; alpha 255 replaces it.
  frame.shapes = {Shape{0, 0, 1, 1, rgb_hex(0xFF0000), 128, false}, Shape{0, 0, 1, 1, rgb_hex(0x00FF00), 0, false},
                  Shape{0, 0, 1, 1, rgb_hex(0x0000FF), 128, false}};
  // 0xFF901010 under blue at 128: blue 128 + (16 × 127 + 127) / 255 = 136, red (144 × 127 + 127) / 255 = 72.
  EXPECT_EQ(paint(frame, 1, 1).at(0, 0), 0xFF480888u);
  frame.shapes.push_back(Shape{0, 0, 1, 1, rgb_hex(0x123456), 255, false});
  EXPECT_EQ(paint(frame, 1, 1).at(0, 0), 0xFF123456u);
}

TEST(Raster, DiscsAreCoveredBySixteenSamplesPerPixel) {
  // A white disc of radius 2 in the 4 × 4 square over the alpha-1 black background.
  FrameModel frame = background(rgb_hex(0x000000), 0);
  frame.shapes = {Shape{0, 0, 4, 4, rgb_hex(0xFFFFFF), 255, true}};
  const PixelBuffer buffer = paint(frame, 5, 5);
  // A corner pixel has 6 of its 16 samples inside: alpha 255 × ((6 × 255) >> 4) / 255 = 95,
  // colour (255 × 95 + 127) / 255 = 95, over alpha 1: alpha 95 + (160 + 127) / 255 = 96.
  EXPECT_EQ(buffer.at(0, 0), 0x605F5F5Fu);
  EXPECT_EQ(buffer.at(3, 3), 0x605F5F5Fu);
  EXPECT_EQ(buffer.at(3, 0), 0x605F5F5Fu);
  // Pixels next to the centre are fully covered.
  EXPECT_EQ(buffer.at(1, 1), 0xFFFFFFFFu);
  EXPECT_EQ(buffer.at(2, 1), 0xFFFFFFFFu);
  // Edge pixels: 15 of 16 samples inside: alpha (15 × 255) >> 4 = 239, colour 239, and the
  // alpha-1 background adds (16 + 127) / 255 = 0.
  EXPECT_EQ(buffer.at(0, 1), 0xEFEFEFEFu);
  // Outside the square: untouched.
  EXPECT_EQ(buffer.at(4, 4), 0x01000000u);
  EXPECT_EQ(buffer.at(4, 1), 0x01000000u);
}

TEST(Raster, DiscCoverageScalesTheShapesAlpha) {
  FrameModel frame = background(rgb_hex(0x000000), 255);
  frame.shapes = {Shape{0, 0, 4, 4, rgb_hex(0xFFFFFF), 100, true}};
  const PixelBuffer buffer = paint(frame, 4, 4);
  // Corner: 100 × 95 / 255 = 37; colour (255 × 37 + 127) / 255 = 37; alpha 37 + 218 = 255.
  EXPECT_EQ(buffer.at(0, 0), 0xFF252525u);
  // Centre: alpha 100; colour 100 + 0.
  EXPECT_EQ(buffer.at(1, 2), 0xFF646464u);
}

TEST(Raster, DiscsInNonSquareBoxesUseTheShorterSide) {
  // A 6 × 2 box holds a disc of radius 1 centred at (3, 1): only columns 2 and 3 are touched.
  FrameModel frame = background(rgb_hex(0x000000), 255);
  frame.shapes = {Shape{0, 0, 6, 2, rgb_hex(0xFFFFFF), 255, true}};
  const PixelBuffer buffer = paint(frame, 6, 2);
  for (int y = 0; y < 2; ++y) {
    EXPECT_EQ(buffer.at(0, y), 0xFF000000u);
    EXPECT_EQ(buffer.at(1, y), 0xFF000000u);
    EXPECT_NE(buffer.at(2, y), 0xFF000000u);
    EXPECT_NE(buffer.at(3, y), 0xFF000000u);
    EXPECT_EQ(buffer.at(4, y), 0xFF000000u);
  }
  // Empty or inverted boxes draw nothing.
  frame.shapes = {Shape{0, 0, 0, 2, rgb_hex(0xFFFFFF), 255, true}, Shape{3, 2, 1, 0, rgb_hex(0xFFFFFF), 255, true}};
  const PixelBuffer untouched = paint(frame, 6, 2);
  for (const std::uint32_t pixel : untouched.pixels()) EXPECT_EQ(pixel, 0xFF000000u);
}

TEST(Raster, ExtremeCoordinatesClipWithoutOverflow) {
  FrameModel frame = background(rgb_hex(0x000000), 255);
  frame.shapes = {Shape{kMin, kMin, kMax, kMax, rgb_hex(0x102030), 255, false},
                  Shape{kMax - 1, 0, kMax, 1, rgb_hex(0xFFFFFF), 255, true},
                  Shape{kMin, kMin, kMin + 3, kMin + 3, rgb_hex(0xFFFFFF), 255, true},
                  Shape{-3, -3, 3, 3, rgb_hex(0xFFFFFF), 255, true}};
  const PixelBuffer buffer = paint(frame, 3, 3);
  EXPECT_EQ(buffer.at(2, 2), 0xFF102030u);
  EXPECT_EQ(buffer.at(0, 0), 0xFFFFFFFFu);  // inside the disc centred on the corner
}

TEST(Raster, ACanvasWithoutPixelsIsLeftAlone) {
  FrameModel frame = background(rgb_hex(0xFFFFFF), 255);
  rasterize(frame, Canvas{0, 5, nullptr});
  std::uint32_t pixel = 7;
  rasterize(frame, Canvas{-1, 1, &pixel});
  rasterize(frame, Canvas{1, 1, nullptr});
  EXPECT_EQ(pixel, 7u);
  rasterize(frame, Canvas{1, 1, &pixel});
  EXPECT_EQ(pixel, 0xFFFFFFFFu);
}

}  // namespace
}  // namespace vessa
