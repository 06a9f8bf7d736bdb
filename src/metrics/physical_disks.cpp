#include "metrics/physical_disks.hpp"

#include <algorithm>
#include <limits>

#include "metrics/counter_source.hpp"
#include "metrics/counter_text.hpp"

namespace vessa {
namespace {

std::optional<std::uint32_t> parse_disk_number(std::string_view token) {
  if (token.starts_with('+')) token.remove_prefix(1);
  if (token.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : token) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
    if (value > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
  }
  return static_cast<std::uint32_t>(value);
}

bool is_drive_token(std::string_view token) {
  if (token.size() != 2 || token[1] != ':') return false;
  const char letter = token[0];
  return (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
}

}  // namespace

std::optional<PhysicalDiskEntry> parse_physical_disk(std::string_view instance_name) {
  const std::string_view instance = trim_space(instance_name);
  if (equals_ignore_ascii_case(instance, "_Total")) return std::nullopt;
  const std::vector<std::string_view> tokens = split_space(instance);
  if (tokens.empty()) return std::nullopt;
  const std::optional<std::uint32_t> number = parse_disk_number(tokens.front());
  if (!number) return std::nullopt;

  PhysicalDiskEntry disk;
  disk.instance = std::string(instance);
  disk.number = *number;
  for (std::size_t i = 1; i < tokens.size(); ++i) {
    if (!is_drive_token(tokens[i])) continue;
    std::string drive(tokens[i]);
    if (drive[0] >= 'a' && drive[0] <= 'z') drive[0] = static_cast<char>(drive[0] - 'a' + 'A');
    if (!disk.label.empty()) disk.label += ' ';
    disk.label += drive;
    disk.drives.push_back(std::move(drive));
  }
  if (disk.drives.empty()) disk.label = "Disk " + std::to_string(disk.number);
  return disk;
}

std::vector<PhysicalDiskEntry> physical_disks_from_instances(std::span<const std::string> names) {
  std::vector<PhysicalDiskEntry> disks;
  for (const std::string& name : names) {
    if (std::optional<PhysicalDiskEntry> disk = parse_physical_disk(name)) disks.push_back(std::move(*disk));
  }
  std::stable_sort(disks.begin(), disks.end(),
                   [](const PhysicalDiskEntry& a, const PhysicalDiskEntry& b) { return a.number < b.number; });
  // Each record is compared with the last one kept.
  const auto last = std::unique(disks.begin(), disks.end(), [](const PhysicalDiskEntry& kept, const PhysicalDiskEntry& next) {
    return equals_ignore_ascii_case(kept.instance, next.instance);
  });
  disks.erase(last, disks.end());
  return disks;
}

std::vector<PhysicalDiskEntry> list_physical_disks(CounterSource& source) {
  const Result<std::vector<std::string>> names = source.enumerate_instances("PhysicalDisk");
  if (!names) return {};
  return physical_disks_from_instances(*names);
}

std::vector<std::string> all_drive_letters(std::span<const PhysicalDiskEntry> disks) {
  std::vector<std::string> letters;
  for (const PhysicalDiskEntry& disk : disks) letters.insert(letters.end(), disk.drives.begin(), disk.drives.end());
  return letters;
}

}  // namespace vessa
