#include "metrics/metrics_win.hpp"

#include <windows.h>
#include <powrprof.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <limits>
#include <memory>

#include "metrics/pdh_counters_win.hpp"
#include "metrics/physical_disks.hpp"

namespace vessa {
namespace {

// One record of CallNtPowerInformation(ProcessorInformation); the SDK leaves it undeclared.
struct ProcessorPowerInformation {
  ULONG number;
  ULONG max_mhz;
  ULONG current_mhz;
  ULONG mhz_limit;
  ULONG max_idle_state;
  ULONG current_idle_state;
};
static_assert(sizeof(ProcessorPowerInformation) == 24, "24-byte processor power records");

// Every logical processor of every processor group: CallNtPowerInformation fills one record
// for each and fails outright when the buffer is smaller, as GetSystemInfo's count (the
// current group only) would make it on a machine with more than 64 of them.
std::uint32_t processor_count() {
  if (const DWORD all = GetActiveProcessorCount(ALL_PROCESSOR_GROUPS); all != 0) return all;
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  return std::max<std::uint32_t>(info.dwNumberOfProcessors, 1);
}

// MaxMhz of the first processor record; unknown when the call fails or reports 0.
std::optional<double> nominal_mhz(std::uint32_t processors) {
  std::vector<ProcessorPowerInformation> records(processors);
  const std::uint64_t bytes = std::uint64_t{processors} * sizeof(ProcessorPowerInformation);
  const auto length = static_cast<ULONG>(std::min<std::uint64_t>(bytes, std::numeric_limits<ULONG>::max()));
  const LONG status = CallNtPowerInformation(ProcessorInformation, nullptr, 0, records.data(), length);
  if (status != 0 || records.front().max_mhz == 0) return std::nullopt;
  return static_cast<double>(records.front().max_mhz);
}

// dwMemoryLoad, 0 when it cannot be read.
std::uint32_t memory_load() {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof(status);
  return GlobalMemoryStatusEx(&status) ? status.dwMemoryLoad : 0;
}

MonotonicTime monotonic_now() {
  return std::chrono::time_point_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now());
}

}  // namespace

CounterSampler make_counter_sampler() {
  const std::uint32_t processors = processor_count();
  return CounterSampler(std::make_unique<PdhCounterSource>(), nominal_mhz(processors), processors);
}

std::vector<std::string> physical_disk_drive_letters() {
  PdhCounterSource source;
  return all_drive_letters(list_physical_disks(source));
}

Result<std::vector<std::string>> enumerate_instances(std::string_view object_name) {
  PdhCounterSource source;
  return source.enumerate_instances(object_name);
}

TickReadings read_tick_readings() { return TickReadings{memory_load(), monotonic_now()}; }

}  // namespace vessa
