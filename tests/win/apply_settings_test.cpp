// What accepting the settings window does to the running sampler: the counter query is rebuilt
// for the new configuration, but the sampler that start-up made stays, with its lamp holds and
// the processor frequency read once at start-up.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <optional>

#include "app/app_state_win.hpp"
#include "app/bar_controller_win.hpp"
#include "app/settings_command_win.hpp"
#include "files_win.hpp"
#include "scripted_counters.hpp"

namespace vessa::test {
namespace {

TEST(Shell_ApplySettings, ALitLampKeepsItsHoldAndTheFrequencyIsNotReadAgain) {
  const TempFolder folder;
  auto state = std::make_unique<AppState>();  // tray-only and windowless: nothing is drawn
  state->config_path = folder.path() / L"config.toml";
  state->config.metrics.items = {MetricKind::Cpu};
  state->config.metrics.disk_lamp = true;
  state->config.metrics.disk_lamp_threshold_bytes_per_sec = 1000.0;
  state->config.metrics.disk_lamp_hold_ms = 3'600'000;  // lit for the whole test once lit
  auto source = std::make_unique<ScriptedCounters>();
  ScriptedCounters& counters = *source;
  counters.offer_every_path = true;
  counters.set_instances("PhysicalDisk", {"0 C:"});
  counters.set_array(counter_path::kDiskReadBytes, {{"0 C:", 5000.0}});
  state->sampler = CounterSampler(std::move(source), 2345.0, 4);
  state->sampler.open_counters(state->config);
  take_sample(*state);  // primes the query
  take_sample(*state);
  ASSERT_TRUE(state->last_sample.value().lamp_lit);

  counters.set_array(counter_path::kDiskReadBytes, {{"0 C:", 0.0}});  // idle from now on
  Config accepted = state->config;
  accepted.metrics.items = {MetricKind::Cpu, MetricKind::Memory};
  apply_settings(*state, accepted);

  EXPECT_EQ(state->sampler.items(), accepted.metrics.items);
  EXPECT_EQ(state->sampler.nominal_mhz(), std::optional<double>(2345.0)) << "the frequency was read again";
  ASSERT_EQ(state->last_sample.value().disks.size(), 1u);
  EXPECT_TRUE(state->last_sample.value().disks[0].read_lit) << "the lit lamp lost its hold";
}

}  // namespace
}  // namespace vessa::test
