// The documentation's pictures of the bars: a pixel of each, worked out by hand from the
// rasteriser's and the compositor's rounding, and the PNG files in docs/ decoded and compared
// with what the picture program draws today (scripts/pictures.sh rewrites them).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "taskbar_picture.hpp"

namespace vessa::pictures {
namespace {

const TaskbarScene& scene_named(const std::string& name) {
  static const std::vector<TaskbarScene> scenes = documentation_scenes();
  for (const auto& scene : scenes) {
    if (scene.name == name) return scene;
  }
  ADD_FAILURE() << "no picture " << name;
  return scenes.front();
}

// The window's background is #202020 at alpha 0, drawn at alpha 1 so that the window keeps its
// clicks: premultiplied (0x20 * 1 + 127) / 255 = 0, so the pixel is 0x01000000.
// The track, #3A3A3A at alpha 64, over it: colour (0x3A * 64 + 127) / 255 = 15 plus
// (0 * 191 + 127) / 255 = 0, alpha 64 + (1 * 191 + 127) / 255 = 65: 0x410F0F0F.
// The compositor blends that over the taskbar, c = 15 + (taskbar * 190 + 127) / 255:
//   dark #202020: 15 + (32 * 190 + 127) / 255 = 15 + 24 = 39 = 0x27;
//   light #F3F3F3: 15 + (243 * 190 + 127) / 255 = 15 + 181 = 196 = 0xC4.
// The bare background over the light taskbar: (243 * 254 + 127) / 255 = 242 = 0xF2, one step
// darker than the taskbar around the window (over the dark one it stays 0x20).
struct HandWorkedPixel {
  const char* picture;
  std::int32_t x;
  std::int32_t y;
  std::uint32_t rgb;
  const char* what;
};

TEST(TaskbarPicture, BlendsTheWindowOverTheTaskbarAsWorkedOutByHand) {
  const HandWorkedPixel cases[] = {
      {"bars-default-dark-100", 100, 17, 0x272727, "processor track over the dark taskbar"},
      {"bars-default-dark-150", 150, 22, 0x272727, "processor track over the dark taskbar"},
      {"bars-default-light-100", 100, 17, 0xC4C4C4, "processor track over the light taskbar"},
      {"bars-default-light-150", 100, 12, 0xF2F2F2, "window background over the light taskbar"},
      {"bars-five-items-dark-100", 100, 16, 0x272727, "processor track over the dark taskbar"},
      {"bars-five-items-dark-150", 150, 23, 0x272727, "processor track over the dark taskbar"},
      {"bars-five-items-light-100", 100, 16, 0xC4C4C4, "processor track over the light taskbar"},
      {"bars-five-items-light-150", 100, 12, 0xF2F2F2, "window background over the light taskbar"},
  };
  for (const auto& c : cases) {
    const RgbImage image = taskbar_picture(scene_named(c.picture));
    ASSERT_LT(c.x, image.width) << c.picture;
    ASSERT_LT(c.y, image.height) << c.picture;
    EXPECT_EQ(image.at(c.x, c.y), c.rgb) << c.picture << " (" << c.x << ", " << c.y << "): " << c.what;
  }
  // Outside the window the strip keeps the taskbar's own colour.
  EXPECT_EQ(taskbar_picture(scene_named("bars-default-light-100")).at(0, 0), 0xF3F3F3u);
  EXPECT_EQ(taskbar_picture(scene_named("bars-default-dark-100")).at(0, 0), 0x202020u);
}

// The PNG's pixels as 0x00RRGGBB, through ImageMagick; empty when it cannot be read.
std::vector<std::uint32_t> decode_png(const std::string& path, std::size_t pixel_count) {
  std::vector<std::uint32_t> pixels;
  FILE* convert = popen(("convert '" + path + "' -depth 8 rgb:-").c_str(), "r");
  if (convert == nullptr) return pixels;
  unsigned char rgb[3];
  while (pixels.size() <= pixel_count && std::fread(rgb, 1, 3, convert) == 3) {
    pixels.push_back((std::uint32_t{rgb[0]} << 16) | (std::uint32_t{rgb[1]} << 8) | rgb[2]);
  }
  pclose(convert);
  return pixels;
}

TEST(TaskbarPicture, TheDocumentsPicturesAreTheOnesDrawnToday) {
  for (const auto& scene : documentation_scenes()) {
    const RgbImage image = taskbar_picture(scene);
    const std::string path = std::string(VESSA_DOCS_DIR) + "/" + scene.name + ".png";
    EXPECT_TRUE(decode_png(path, image.pixels.size()) == image.pixels)
        << path << " differs from the picture drawn now (or could not be read): run scripts/pictures.sh";
  }
}

}  // namespace
}  // namespace vessa::pictures
