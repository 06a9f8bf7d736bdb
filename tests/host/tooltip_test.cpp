// The tooltip's texts and rows: number formatting, drive usage and its cache, the disk text,
// the rows per metric, per disk and for the weather.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "render/tooltip.hpp"
#include "settings/ui_text.hpp"

namespace vessa {
namespace {

using namespace std::chrono_literals;

TooltipTexts english() { return tooltip_texts(ui_texts(UiLanguage::English)); }
TooltipTexts japanese() { return tooltip_texts(ui_texts(UiLanguage::Japanese)); }

// --- Number texts ---------------------------------------------------------------------------

TEST(TooltipNumbers, RoundToNearestWithTiesToEven) {
  struct Case {
    double x;
    const char* d0;
    const char* d1;
    const char* d2;
  };
  const Case cases[] = {
      {0.0, "0", "0.0", "0.00"},         {2.5, "2", "2.5", "2.50"},        {3.5, "4", "3.5", "3.50"},
      {0.5, "0", "0.5", "0.50"},         {1.5, "2", "1.5", "1.50"},        {0.125, "0", "0.1", "0.12"},
      {0.375, "0", "0.4", "0.38"},       {0.25, "0", "0.2", "0.25"},       {0.05, "0", "0.1", "0.05"},
      {1.005, "1", "1.0", "1.00"},       // 1.005 is stored a hair below the tie
      {99.95, "100", "100.0", "99.95"},  // 99.95 is stored a hair above the tie
      {45.0, "45", "45.0", "45.00"},     {3.6, "4", "3.6", "3.60"},        {-2.5, "-2", "-2.5", "-2.50"},
      {-0.4, "0", "-0.4", "-0.40"},      {-0.004, "0", "0.0", "0.00"},     {-0.0, "0", "0.0", "0.00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x);
    EXPECT_EQ(dec0(c.x), c.d0);
    EXPECT_EQ(dec1(c.x), c.d1);
    EXPECT_EQ(dec2(c.x), c.d2);
  }
  EXPECT_EQ(dec0(std::nan("")), "0");
}

TEST(TooltipNumbers, FormatRateSteps1024UpToGigabytes) {
  const std::pair<double, const char*> cases[] = {
      {0.0, "0 B/s"},
      {512.0, "512 B/s"},
      {1023.0, "1023 B/s"},
      {1023.6, "1024 B/s"},  // below the step, written whole
      {1024.0, "1.0 KB/s"},
      {1536.0, "1.5 KB/s"},
      {150.0 * 1024, "150 KB/s"},
      {99.95 * 1024, "100.0 KB/s"},  // under 100 before rounding: one decimal
      {12.34 * 1024 * 1024, "12.3 MB/s"},
      {5.0 * 1024 * 1024 * 1024 * 1024, "5120 GB/s"},
      {-5.0, "0 B/s"},
      {std::nan(""), "0 B/s"},
  };
  for (const auto& [rate, text] : cases) EXPECT_EQ(format_rate(rate), text) << rate;
}

// --- Drives ---------------------------------------------------------------------------------

TEST(TooltipDrives, NamesFollowTheDiskInstanceFilter) {
  const std::vector<std::string> all = {"C:", "D:", "E:"};
  struct Case {
    std::vector<std::string> instances;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {{}, all},                                   // nothing configured: _Total, every drive
      {{"  ", ""}, all},                           // blanks only: the same
      {{"_Total"}, all},                           //
      {{" _Total "}, all},                         // trimmed first
      {{"\u3000D:\t"}, {"D:"}},                     // of any white space, as the sampler trims
      {{"_total"}, {}},                            // only the exact spelling means every drive
      {{"C:", "D:"}, {"C:", "D:"}},                //
      {{" D: ", "0 C:", "CD:", "1:", "e:"}, {"D:", "e:"}},  // one letter and a colon only
      {{"C:", "_Total"}, all},                     //
  };
  for (const Case& c : cases) EXPECT_EQ(tooltip_drive_names(c.instances, all), c.names);
}

TEST(TooltipDrives, QueryTakesRootPathsAndKeepsDrivesThatAnswerWithATotal) {
  std::vector<std::string> asked;
  const FreeSpaceQuery query = [&](const std::string& path) -> std::optional<DriveSpace> {
    asked.push_back(path);
    if (path == "C:\\") return DriveSpace{55, 100};
    if (path == "D:\\") return DriveSpace{0, 0};  // an empty card reader
    if (path == "F:\\") return DriveSpace{10, 40};
    return std::nullopt;  // E: was removed
  };
  const auto drives = query_drive_usage({"C:", "D:", "E:", "F:\\"}, query);
  EXPECT_EQ(asked, (std::vector<std::string>{"C:\\", "D:\\", "E:\\", "F:\\"}));
  EXPECT_EQ(drives, (std::vector<DriveUsage>{{"C:", 55, 100}, {"F:\\", 10, 40}}));
}

TEST(TooltipDrives, UsedPercentCountsFreeBeyondTheTotalAsNothingUsed) {
  EXPECT_DOUBLE_EQ(drive_used_percent({"C:", 55, 100}), 45.0);
  EXPECT_DOUBLE_EQ(drive_used_percent({"C:", 200, 100}), 0.0);
  EXPECT_DOUBLE_EQ(drive_used_percent({"C:", 0, UINT64_MAX}), 100.0);
}

TEST(TooltipDrives, CacheRefillsAfterTenSecondsOfMonotonicTime) {
  DriveUsageCache cache;
  int fills = 0;
  const auto fill = [&] {
    ++fills;
    return std::vector<DriveUsage>{{"C:", static_cast<std::uint64_t>(fills), 10}};
  };
  const DriveUsageCache::TimePoint start{1000s};
  EXPECT_EQ(cache.refresh(start, fill).front().free_bytes, 1u);  // never filled: fills
  cache.refresh(start + 9999ms, fill);
  EXPECT_EQ(fills, 1);
  cache.refresh(start - 1h, fill);  // the clock went backwards: not yet
  EXPECT_EQ(fills, 1);
  EXPECT_EQ(cache.refresh(start + 10s, fill).front().free_bytes, 2u);
  cache.refresh(start + 19s, fill);
  EXPECT_EQ(fills, 2);
  cache.refresh(start + 20s, fill);
  EXPECT_EQ(fills, 3);
}

TEST(TooltipDrives, CacheKeepsAnEmptyAnswerForTenSecondsToo) {
  DriveUsageCache cache;
  int fills = 0;
  const auto fill = [&] {
    ++fills;
    return std::vector<DriveUsage>{};
  };
  const DriveUsageCache::TimePoint start{};
  cache.refresh(start, fill);
  cache.refresh(start + 5s, fill);
  EXPECT_EQ(fills, 1);
  EXPECT_FALSE(cache.due(start + 5s));
  EXPECT_TRUE(cache.due(start + 10s));
}

// --- Disk text ------------------------------------------------------------------------------

TEST(TooltipDiskText, ListsTwoDrivesThenTheLoad) {
  const std::vector<DriveUsage> drives = {{"C:", 55, 100}, {"D:", 20, 100}};
  EXPECT_EQ(disk_text(drives, 12.0, english()), (DiskText{"C: 45%  D: 80%  Load: 12%", "C: 100%  D: 100%  Load: 100%"}));
  EXPECT_EQ(disk_text(drives, 12.0, japanese()), (DiskText{"C: 45%  D: 80%  負荷: 12%", "C: 100%  D: 100%  負荷: 100%"}));
}

TEST(TooltipDiskText, NamesASingleDriveUsed) {
  const std::vector<DriveUsage> drives = {{"C:", 55, 100}};
  EXPECT_EQ(disk_text(drives, 12.0, english()), (DiskText{"Used: 45%  Load: 12%", "Used: 100%  Load: 100%"}));
  EXPECT_EQ(disk_text(drives, 12.0, japanese()), (DiskText{"使用: 45%  負荷: 12%", "使用: 100%  負荷: 100%"}));
}

TEST(TooltipDiskText, WithoutDrivesShowsOnlyTheLoad) {
  EXPECT_EQ(disk_text({}, 12.5, english()), (DiskText{"Load: 12%", "Load: 100%"}));
  EXPECT_EQ(disk_text({}, 100.0, japanese()), (DiskText{"負荷: 100%", "負荷: 100%"}));
}

TEST(TooltipDiskText, LowerCaseTotalListsNoDrivesAtAll) {
  // "_total" matches the counter's _Total instance, but only the exact spelling stands for
  // every drive here: the row shows the load alone.
  const auto names = tooltip_drive_names({"_total"}, {"C:", "D:"});
  const auto drives = query_drive_usage(names, [](const std::string&) { return DriveSpace{1, 2}; });
  EXPECT_EQ(disk_text(drives, 7.0, english()).text, "Load: 7%");
}

// --- Rows -----------------------------------------------------------------------------------

ResolvedColors test_colors() {
  ResolvedColors colors;
  colors.cpu = rgb_hex(0x000001);
  colors.memory = rgb_hex(0x000002);
  colors.disk = rgb_hex(0x000003);
  colors.gpu = rgb_hex(0x000004);
  colors.net_rx = rgb_hex(0x000005);
  colors.net_tx = rgb_hex(0x000006);
  return colors;
}

struct RowsFixture {
  MetricSample sample;
  ResolvedColors colors = test_colors();
  DiskText disk{"Used: 45%  Load: 12%", "Used: 100%  Load: 100%"};
  std::optional<WeatherReading> weather;
  UiLanguage language = UiLanguage::English;
  TemperatureUnit unit = TemperatureUnit::Celsius;

  std::vector<TooltipRow> rows() const {
    return build_tooltip_rows(TooltipInputs{sample, colors, disk, weather, tooltip_texts(ui_texts(language)), unit});
  }
};

TooltipRow row(std::string label, std::string value, std::string value_template, std::optional<Rgb> swatch) {
  return TooltipRow{label, std::move(value), label, std::move(value_template), swatch};
}

TEST(TooltipRows, ProcessorShowsFrequencyAndLoadWithTwoSpaces) {
  RowsFixture f;
  f.sample.bars = {{45.0, MetricKind::Cpu}};
  f.sample.cpu_mhz = 3600.0;
  EXPECT_EQ(f.rows(), (std::vector<TooltipRow>{row("CPU", "3.60 GHz  45%", "9.99 GHz  100%", rgb_hex(1))}));
  f.sample.cpu_mhz.reset();
  EXPECT_EQ(f.rows(), (std::vector<TooltipRow>{row("CPU", "45%", "100%", rgb_hex(1))}));
  f.sample.cpu_mhz = -100.0;  // a nonsense reading is not shown as negative
  EXPECT_EQ(f.rows().front().value, "0.00 GHz  45%");
}

TEST(TooltipRows, ProcessorAndNetworkGiveThreeRowsWithOneDisk) {
  RowsFixture f;
  f.sample.bars = {{7.0, MetricKind::Cpu}, {30.0, MetricKind::Net}};
  f.sample.net_rx_bytes_per_sec = 1536.0;
  f.sample.net_tx_bytes_per_sec = 512.0;
  f.sample.disks = {{"C:", 1000.0, false, false}};
  EXPECT_EQ(f.rows(), (std::vector<TooltipRow>{row("CPU", "7%", "100%", rgb_hex(1)),
                                               row("Receive", "1.5 KB/s", "999 GB/s", rgb_hex(5)),
                                               row("Send", "512 B/s", "999 GB/s", rgb_hex(6))}));
}

TEST(TooltipRows, FollowTheBarOrderInJapanese) {
  RowsFixture f;
  f.language = UiLanguage::Japanese;
  f.disk = {"負荷: 3%", "負荷: 100%"};
  f.sample.bars = {{1.0, MetricKind::Gpu}, {2.0, MetricKind::Memory}, {3.0, MetricKind::Disk}, {4.0, MetricKind::Net}};
  EXPECT_EQ(f.rows(), (std::vector<TooltipRow>{row("GPU", "1%", "100%", rgb_hex(4)),
                                               row("メモリ", "2%", "100%", rgb_hex(2)),
                                               row("ディスク", "負荷: 3%", "負荷: 100%", rgb_hex(3)),
                                               row("受信", "0 B/s", "999 GB/s", rgb_hex(5)),
                                               row("送信", "0 B/s", "999 GB/s", rgb_hex(6))}));
}

TEST(TooltipRows, PerDiskRowsOnlyWithTwoOrMoreDisks) {
  RowsFixture f;
  f.sample.bars = {{50.0, MetricKind::Memory}};
  f.sample.disks = {{"C:", 2048.0, false, false}};
  EXPECT_EQ(f.rows().size(), 1u);
  f.sample.disks.push_back({"Disk 1", 3.0 * 1024 * 1024, true, false});
  EXPECT_EQ(f.rows(), (std::vector<TooltipRow>{row("Memory", "50%", "100%", rgb_hex(2)),
                                               row("C:", "2.0 KB/s", "999 GB/s", rgb_hex(3)),
                                               row("Disk 1", "3.0 MB/s", "999 GB/s", rgb_hex(3))}));
}

TEST(TooltipRows, WeatherRowShowsTheTemperatureInTheChosenUnit) {
  RowsFixture f;
  f.weather = WeatherReading{21.6, 0, std::nullopt};
  const TooltipRow celsius{"Clear", "Temp: 22°C", "Partly cloudy", "Rain: 100%  Temp: -99°C", std::nullopt};
  EXPECT_EQ(f.rows(), (std::vector<TooltipRow>{celsius}));
  f.unit = TemperatureUnit::Fahrenheit;
  const TooltipRow fahrenheit{"Clear", "Temp: 71°F", "Partly cloudy", "Rain: 100%  Temp: -99°F", std::nullopt};
  EXPECT_EQ(f.rows(), (std::vector<TooltipRow>{fahrenheit}));
}

TEST(TooltipRows, WeatherRowWithRainAndInJapanese) {
  RowsFixture f;
  f.weather = WeatherReading{22.5, 61, 30};
  EXPECT_EQ(f.rows().back().value, "Rain: 30%  Temp: 22°C");  // 22.5 ties to the even 22
  EXPECT_EQ(f.rows().back().label, "Rain");
  f.language = UiLanguage::Japanese;
  f.weather = WeatherReading{-3.4, 2, 100};
  const TooltipRow expected{"晴れ時々くもり", "降水: 100%  気温: -3°C", "晴れ時々くもり", "降水: 100%  気温: -99°C",
                            std::nullopt};
  EXPECT_EQ(f.rows(), (std::vector<TooltipRow>{expected}));
}

TEST(TooltipRows, NothingToShowGivesNoRows) {
  RowsFixture f;
  f.sample.disks = {{"C:", 1.0, false, false}};
  EXPECT_TRUE(f.rows().empty());
}

}  // namespace
}  // namespace vessa
