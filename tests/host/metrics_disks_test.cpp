#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "metrics/counter_text.hpp"
#include "metrics/physical_disks.hpp"
#include "scripted_counters.hpp"

namespace vessa {
namespace {

TEST(PhysicalDisks, ExampleListIsSortedWithTotalAndUnnumberedDropped) {
  ScriptedCounters counters;
  counters.set_instances("PhysicalDisk", {"1 E:", "0 C: D:", "_Total", "x Z:"});
  const std::vector<PhysicalDiskEntry> expected = {
      {"0 C: D:", "C: D:", {"C:", "D:"}, 0},
      {"1 E:", "E:", {"E:"}, 1},
  };
  EXPECT_EQ(list_physical_disks(counters), expected);
}

TEST(PhysicalDisks, InstanceNamesParse) {
  const struct {
    std::string name;
    std::optional<PhysicalDiskEntry> disk;
  } cases[] = {
      {"2", PhysicalDiskEntry{"2", "Disk 2", {}, 2}},
      {"  3 f: \t", PhysicalDiskEntry{"3 f:", "F:", {"F:"}, 3}},
      {"+4 G: HarddiskVolume5 h: 1: ab:", PhysicalDiskEntry{"+4 G: HarddiskVolume5 h: 1: ab:", "G: H:", {"G:", "H:"}, 4}},
      {"007 C:", PhysicalDiskEntry{"007 C:", "C:", {"C:"}, 7}},
      {"4294967295", PhysicalDiskEntry{"4294967295", "Disk 4294967295", {}, 4294967295u}},
      {"0\xE3\x80\x80" "C:", PhysicalDiskEntry{"0\xE3\x80\x80" "C:", "C:", {"C:"}, 0}},  // ideographic space
      {"4294967296 C:", std::nullopt},
      {"99999999999999999999999", std::nullopt},
      {"+ C:", std::nullopt},
      {"-1 C:", std::nullopt},
      {"1a C:", std::nullopt},
      {"C: 1", std::nullopt},
      {"_total", std::nullopt},
      {" _TOTAL ", std::nullopt},
      {"", std::nullopt},
      {"   ", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(parse_physical_disk(c.name), c.disk) << c.name;
}

TEST(PhysicalDisks, EqualNumbersKeepTheirOrderAndRepeatsAreDropped) {
  const std::vector<std::string> names = {"1 B:", "0 C:", "1 A:", "0 c:", "1 b:", "1 B:"};
  const std::vector<PhysicalDiskEntry> disks = physical_disks_from_instances(names);
  std::vector<std::string> instances;
  for (const PhysicalDiskEntry& disk : disks) instances.push_back(disk.instance);
  // "1 b:" follows "1 A:" after sorting, so only the "1 B:" right after it is a repeat.
  EXPECT_EQ(instances, (std::vector<std::string>{"0 C:", "1 B:", "1 A:", "1 b:"}));
}

TEST(PhysicalDisks, EnumerationErrorGivesAnEmptyList) {
  ScriptedCounters counters;
  counters.fail_instances("PhysicalDisk", Error("PdhEnumObjectItemsW のサイズ問い合わせに失敗しました (0xC0000BD3)"));
  EXPECT_TRUE(list_physical_disks(counters).empty());
}

TEST(PhysicalDisks, AllDriveLettersAreFlattenedDiskAfterDisk) {
  const std::vector<PhysicalDiskEntry> disks =
      physical_disks_from_instances(std::vector<std::string>{"1 E:", "0 C: D:", "2"});
  EXPECT_EQ(all_drive_letters(disks), (std::vector<std::string>{"C:", "D:", "E:"}));
  EXPECT_TRUE(all_drive_letters({}).empty());
}

TEST(CounterText, TrimAndSplitAtAnyWhiteSpace) {
  EXPECT_EQ(trim_space(" \t\r\n a b \xC2\xA0\xE3\x80\x80"), "a b");
  EXPECT_EQ(trim_space("\xE2\x80\x8B" "a"), "\xE2\x80\x8B" "a");  // zero-width space is not white space
  EXPECT_EQ(trim_space(""), "");
  EXPECT_EQ(trim_space("\xE3\x80\x80"), "");
  EXPECT_EQ(split_space("  0\tC:\xE2\x80\x83" "D:  "), (std::vector<std::string_view>{"0", "C:", "D:"}));
  EXPECT_TRUE(split_space(" \n ").empty());
}

TEST(CounterText, AsciiCaseOnly) {
  EXPECT_TRUE(equals_ignore_ascii_case("_Total", "_TOTAL"));
  EXPECT_TRUE(equals_ignore_ascii_case("0 c: d:", "0 C: D:"));
  EXPECT_FALSE(equals_ignore_ascii_case("\xC3\xA9", "\xC3\x89"));  // é and É
  EXPECT_FALSE(equals_ignore_ascii_case("C:", "C: "));
}

TEST(CounterText, Utf16ConversionReusesTheStringAndRejectsLoneSurrogates) {
  std::string out = "old text that is long enough to be on the heap";
  const char16_t good[] = u"ディスク 0 \U0001F4BE";
  EXPECT_TRUE(utf16_to_utf8_into(good, std::char_traits<char16_t>::length(good), out));
  EXPECT_EQ(out, "ディスク 0 \xF0\x9F\x92\xBE");
  const char16_t lone_high[] = {u'a', char16_t{0xD83D}, u'b'};
  EXPECT_FALSE(utf16_to_utf8_into(lone_high, 3, out));
  EXPECT_EQ(out, "");
  const char16_t lone_low[] = {char16_t{0xDC00}};
  EXPECT_FALSE(utf16_to_utf8_into(lone_low, 1, out));
  const char16_t high_at_end[] = {u'a', char16_t{0xD83D}};
  EXPECT_FALSE(utf16_to_utf8_into(high_at_end, 2, out));
}

TEST(CounterText, NameListsEndAtTheEmptyNameOrTheFirstInvalidName) {
  const char16_t list[] = u"0 C:\0" u"1 D:\0" u"_Total\0\0" u"after the end\0";
  EXPECT_EQ(parse_name_list(list, std::size(list)), (std::vector<std::string>{"0 C:", "1 D:", "_Total"}));
  const char16_t invalid[] = {u'a', 0, char16_t{0xDC00}, 0, u'b', 0, 0};
  EXPECT_EQ(parse_name_list(invalid, std::size(invalid)), (std::vector<std::string>{"a"}));
  // A list without its closing empty name is read up to the buffer's end and no further.
  const char16_t unterminated[] = {u'a', 0, u'b', u'c'};
  EXPECT_EQ(parse_name_list(unterminated, std::size(unterminated)), (std::vector<std::string>{"a", "bc"}));
  EXPECT_TRUE(parse_name_list(list, 0).empty());
}

}  // namespace
}  // namespace vessa
