// Writes the documentation's pictures of the bars (taskbar_picture.hpp) as PNG files into the
// folder given, through ImageMagick's `convert`:
//
//   vessa_taskbar_pictures OUTPUT_FOLDER
//
// The files carry no time stamps, so the same pictures give the same bytes.
#include <cstdio>
#include <string>

#include "taskbar_picture.hpp"

namespace {

bool write_png(const vessa::pictures::RgbImage& image, const std::string& path) {
  const std::string command = "convert -size " + std::to_string(image.width) + "x" + std::to_string(image.height) +
                              " -depth 8 rgb:- -strip -define png:exclude-chunks=date,time '" + path + "'";
  FILE* convert = popen(command.c_str(), "w");
  if (convert == nullptr) return false;
  bool written = true;
  for (const std::uint32_t pixel : image.pixels) {
    const unsigned char rgb[3] = {static_cast<unsigned char>(pixel >> 16), static_cast<unsigned char>(pixel >> 8),
                                  static_cast<unsigned char>(pixel)};
    written = written && std::fwrite(rgb, 1, 3, convert) == 3;
  }
  return pclose(convert) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || std::string(argv[1]).find('\'') != std::string::npos) {
    std::fprintf(stderr, "usage: vessa_taskbar_pictures OUTPUT_FOLDER (without quotes in its name)\n");
    return 2;
  }
  for (const auto& scene : vessa::pictures::documentation_scenes()) {
    const std::string path = std::string(argv[1]) + "/" + scene.name + ".png";
    if (!write_png(vessa::pictures::taskbar_picture(scene), path)) {
      std::fprintf(stderr, "could not write %s\n", path.c_str());
      return 1;
    }
    std::printf("%s\n", path.c_str());
  }
  return 0;
}
