#pragma once
// The physical disks behind the "PhysicalDisk" counter instances, for the disk lamps and the
// tooltip's drive list. An instance name is the disk number followed by the drive letters of
// its volumes, for example "0 C: D:".

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vessa {

class CounterSource;

struct PhysicalDiskEntry {
  std::string instance;             // the instance name without surrounding white space
  std::string label;                // "C: D:", or "Disk 2" for a disk without drive letters
  std::vector<std::string> drives;  // "C:", "D:": one ASCII letter, upper-cased, and a colon
  std::uint32_t number = 0;

  friend bool operator==(const PhysicalDiskEntry&, const PhysicalDiskEntry&) = default;
};

// One instance name as a disk; nullopt for "_Total" (any case) and for names that do not
// start with a disk number (decimal digits, an optional leading "+", at most 4294967295).
[[nodiscard]] std::optional<PhysicalDiskEntry> parse_physical_disk(std::string_view instance_name);

// The disks of a list of instance names: parsed, sorted by number (equal numbers keep their
// order) and with repeated instances (ignoring ASCII case) dropped.
[[nodiscard]] std::vector<PhysicalDiskEntry> physical_disks_from_instances(std::span<const std::string> names);

// The disks the source reports; empty when the instances cannot be listed.
[[nodiscard]] std::vector<PhysicalDiskEntry> list_physical_disks(CounterSource& source);

// Every disk's drive letters, disk after disk, in one list.
[[nodiscard]] std::vector<std::string> all_drive_letters(std::span<const PhysicalDiskEntry> disks);

}  // namespace vessa
