// The vessa.exe of the ZIP a user downloads, unpacked into a fresh folder by package_test.sh
// (which has already checked the archive's file list and the missing debug sections): it runs
// in the taskbar desktop from that folder, rewrites its config.toml beside itself, draws the
// bars where its relayout line says, ends with status 0 when closed, and carries the version
// resource and the manifest.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "base/unique_handle_win.hpp"
#include "config/colors.hpp"
#include "config/theme_win.hpp"
#include "harness_win.hpp"
#include "render/bar_frame.hpp"
#include "render/canvas.hpp"
#include "render/rasterize.hpp"

namespace vessa::test {
namespace {

std::filesystem::path packaged_exe() { return windows_path_from_env("VESSA_PACKAGE_EXE"); }

// Under Wine only the processor counter exists: disk, network and graphics bars stay at 0 and
// the one lamp stays dark, so the frame of these items is known in advance.
constexpr char kSteadyItems[] = "[metrics]\nitems = [\"disk\", \"net\", \"gpu\"]\n";

struct Relayout {
  std::uint32_t dpi = 0;
  Geometry geometry;
  Placement placement;
};

std::optional<Relayout> parse_relayout(const std::string& line) {
  static const std::regex pattern(
      R"(dpi=(\d+) .*geometry=Geometry \{ thickness: (\d+), band: (\d+), icon_gap: None, line_inset: (\d+) \} )"
      R"(placement=Placement \{ x: (-?\d+), y: (-?\d+), width: (\d+), height: (\d+) \})");
  std::smatch match;
  if (!std::regex_search(line, match, pattern)) return std::nullopt;
  const auto number = [&](int i) { return std::stoll(match[i].str()); };
  Relayout relayout;
  relayout.dpi = static_cast<std::uint32_t>(number(1));
  relayout.geometry = Geometry{static_cast<std::uint32_t>(number(2)), static_cast<std::uint32_t>(number(3)),
                               std::nullopt, static_cast<std::uint32_t>(number(4))};
  relayout.placement = Placement{static_cast<std::int32_t>(number(5)), static_cast<std::int32_t>(number(6)),
                                 static_cast<std::int32_t>(number(7)), static_cast<std::int32_t>(number(8))};
  return relayout;
}

// Wine shows a layered window's premultiplied colour channels as they are: the screen at the
// placement shows exactly what the rasteriser painted. Empty when every pixel matches.
std::string compare_frame(const ScreenShot& shot, const Placement& at, const PixelBuffer& frame) {
  int wrong = 0;
  std::string first;
  for (std::int32_t y = 0; y < frame.height(); ++y) {
    for (std::int32_t x = 0; x < frame.width(); ++x) {
      const int sx = at.x + x;
      const int sy = at.y + y;
      if (sx < 0 || sy < 0 || sx >= shot.width || sy >= shot.height) continue;
      const std::uint32_t expected = frame.at(x, y) & 0xFFFFFFu;
      if (shot.at(sx, sy) != expected && wrong++ == 0) {
        char text[96];
        std::snprintf(text, sizeof(text), "(%d, %d): screen %06X, frame %06X", x, y, shot.at(sx, sy), expected);
        first = text;
      }
    }
  }
  return wrong == 0 ? "" : std::to_string(wrong) + " pixels differ, first at " + first;
}

TEST(Shell_Package, TheUnpackedExecutableRunsFromItsFolderAndDrawsTheBars) {
  const std::filesystem::path exe = packaged_exe();
  ASSERT_TRUE(std::filesystem::is_regular_file(exe)) << "VESSA_PACKAGE_EXE: " << utf8(exe.wstring());
  const std::filesystem::path config = exe.parent_path() / L"config.toml";
  {
    std::ofstream file(config, std::ios::binary | std::ios::trunc);
    file << kSteadyItems;
  }

  VessaProcess vessa(exe, L"--debug");
  const auto config_line = vessa.wait_for_line("config: ");
  ASSERT_TRUE(config_line.has_value()) << vessa.output() << vessa.error_output();
  EXPECT_EQ(*config_line, "config: " + utf8(config.wstring()));
  const auto relayout_line = vessa.wait_for_line("relayout ");
  ASSERT_TRUE(relayout_line.has_value()) << vessa.output();
  const auto relayout = parse_relayout(*relayout_line);
  ASSERT_TRUE(relayout.has_value()) << *relayout_line;
  const auto bar = wait_for_bar_window(vessa.pid());
  ASSERT_TRUE(bar.has_value());

  // The file it found is brought into the canonical form, beside the executable.
  std::string rewritten;
  EXPECT_TRUE(wait_until([&] {
    std::ifstream file(config, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    rewritten = text.str();
    return rewritten.rfind("[general]\n", 0) == 0;
  })) << rewritten;
  EXPECT_NE(rewritten.find("\n[metrics]\nitems = [\"disk\", \"net\", \"gpu\"]\n"), std::string::npos) << rewritten;

  Config steady;
  steady.metrics.items = {MetricKind::Disk, MetricKind::Net, MetricKind::Gpu};
  MetricSample sample;
  sample.bars = {{0, MetricKind::Disk}, {0, MetricKind::Net}, {0, MetricKind::Gpu}};
  const Placement& at = relayout->placement;
  const FrameModel frame = build_frame(steady, resolve_colors(steady.appearance, taskbar_is_dark()), sample,
                                       relayout->geometry, at.width, at.height, relayout->dpi, kNoIcon, std::nullopt);
  PixelBuffer pixels(at.width, at.height);
  rasterize(frame, pixels.canvas());
  std::string differences;
  ScreenShot shot;
  wait_until(
      [&] {
        shot = capture_screen();
        differences = compare_frame(shot, at, pixels);
        return differences.empty();
      },
      std::chrono::seconds(10));
  if (!differences.empty()) shot.save_bmp(artefact_folder() / L"package-bars.bmp");
  EXPECT_EQ(differences, "") << "screenshot: package-bars.bmp";

  PostMessageW(*bar, WM_CLOSE, 0, 0);
  EXPECT_EQ(vessa.wait(), std::optional<DWORD>(0));
}

std::wstring version_string(const std::vector<char>& block, const wchar_t* name) {
  void* value = nullptr;
  UINT length = 0;
  const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
  if (!VerQueryValueW(block.data(), path.c_str(), &value, &length) || length == 0) return {};
  return std::wstring(static_cast<const wchar_t*>(value));
}

TEST(Shell_Package, TheExecutableCarriesVersionOnePointFiveAndItsManifest) {
  const std::filesystem::path exe = packaged_exe();
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
  ASSERT_GT(size, 0u) << "no version resource in " << utf8(exe.wstring());
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, block.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(5, 1));
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(5, 1));
  EXPECT_EQ(version_string(block, L"ProductVersion"), L"1.5.0");
  EXPECT_EQ(version_string(block, L"FileVersion"), L"1.5.0");

  const UniqueHmodule image(
      LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  ASSERT_TRUE(image.get() != nullptr);
  HRSRC found = FindResourceW(image.get(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
  ASSERT_TRUE(found != nullptr) << "no manifest";
  HGLOBAL loaded = LoadResource(image.get(), found);
  ASSERT_TRUE(loaded != nullptr);
  const std::string manifest(static_cast<const char*>(LockResource(loaded)), SizeofResource(image.get(), found));
  EXPECT_NE(manifest.find(R"(<requestedExecutionLevel level="asInvoker")"), std::string::npos) << manifest;
  EXPECT_NE(manifest.find(R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")"), std::string::npos)
      << manifest;
}

}  // namespace
}  // namespace vessa::test
