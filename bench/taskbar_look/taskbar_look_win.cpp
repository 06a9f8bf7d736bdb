// What following the taskbar costs on every update tick, against the tick it rides on: the
// look at a steady taskbar (its rectangle, its band and what lies directly above it, through
// the real taskbar functions) with the decision it leads to, timed beside the sampling part of
// an update tick (the counter query's collection and the memory load, through the real
// sampler with the default items). Needs a desktop with a taskbar: bench/taskbar-look.sh runs
// it under Wine. Prints microseconds per tick, and what one scan of the taskbar's buttons takes
// on its worker thread where UI Automation answers; judges nothing.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

#include "base/unique_handle_win.hpp"
#include "config/config.hpp"
#include "metrics/metrics_win.hpp"
#include "render/taskbar_buttons_win.hpp"
#include "render/taskbar_follow.hpp"
#include "render/taskbar_win.hpp"

namespace {

using Clock = std::chrono::steady_clock;
using Micros = std::chrono::duration<double, std::micro>;

// Ticks as the program takes them: spaced by the smallest update interval, so that what the
// system caches between ticks (Wine reads the memory figures from /proc once a second) counts
// as it does in the running program.
constexpr int kTicks = 40;
constexpr DWORD kTickSpacingMs = 100;
constexpr int kScans = 10;

Micros time_call(const std::function<void()>& call) {
  const Clock::time_point start = Clock::now();
  call();
  return Clock::now() - start;
}

struct Figures {
  double median = 0;
  double mean = 0;
};

Figures figures(std::vector<double> micros) {
  std::sort(micros.begin(), micros.end());
  double sum = 0;
  for (const double m : micros) sum += m;
  return Figures{micros[micros.size() / 2], sum / static_cast<double>(micros.size())};
}

}  // namespace

int wmain() {
  using namespace vessa;
  HWND taskbar = find_taskbar();
  if (taskbar == nullptr) {
    std::fputs("no taskbar (Shell_TrayWnd) in this desktop\n", stderr);
    return 1;
  }
  // A window laid over the taskbar as the bars are, but never shown: Wine would make a shown
  // one the active window and hand the activation to the taskbar when it goes, and the
  // taskbar's late raise would then cover the next program's window over it.
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = DefWindowProcW;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.lpszClassName = L"TaskbarLookBench";
  RegisterClassW(&window_class);
  const UniqueHwnd window(CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST,
                                          L"TaskbarLookBench", L"", WS_POPUP, 0, 0, 1, 1, nullptr,
                                          nullptr, GetModuleHandleW(nullptr), nullptr));
  if (!window) return 1;
  raise_over(window.get(), taskbar);
  // With the default anchor (tray_left) the look reads the notification area too.
  const std::optional<TaskbarShape> laid_out_over = taskbar_shape(taskbar, true);

  const Config config;
  CounterSampler sampler = make_counter_sampler();
  sampler.open_counters(config);
  MetricSample stored;
  bool had_sample = false;

  FollowSteps steps;
  std::vector<double> looks;
  std::vector<double> samples;
  for (int tick = 0; tick < kTicks; ++tick) {
    Sleep(kTickSpacingMs);
    looks.push_back(time_call([&] {
      if (const auto seen = look_at_taskbar(window.get(), taskbar, true)) steps = follow_steps(laid_out_over, *seen);
    }).count());
    samples.push_back(time_call([&] {
      had_sample = sampler.sample(config.metrics, read_tick_readings(), stored, had_sample) || had_sample;
    }).count());
  }
  if (steps.raise || steps.layout) std::fputs("note: the taskbar was not steady during the run\n", stdout);

  const Figures look = figures(looks);
  const Figures sample = figures(samples);
  std::printf("%d ticks %lu ms apart, microseconds per tick (median, mean):\n", kTicks, kTickSpacingMs);
  std::printf("  look at a steady taskbar and decide:  %7.1f %7.1f\n", look.median, look.mean);
  std::printf("  sampling (counters and memory load):  %7.1f %7.1f\n", sample.median, sample.mean);

  // The scan of the taskbar's buttons runs on a worker thread, only after a layout or a change
  // on the taskbar's thread, never on a tick: its time says how long a busy taskbar keeps the
  // worker, not what a tick costs.
  const HRESULT entered = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  std::vector<double> scans;
  std::size_t elements = 0;
  for (int scan = 0; scan < kScans; ++scan) {
    const Clock::time_point start = Clock::now();
    const Result<std::vector<AutomationElement>> found = scan_taskbar_elements(taskbar);
    scans.push_back(Micros(Clock::now() - start).count());
    if (!found) {
      std::printf("  button scan: not available here (%s)\n", found.error().full_text().c_str());
      scans.clear();
      break;
    }
    elements = found->size();
  }
  if (!scans.empty()) {
    const Figures scan = figures(scans);
    std::printf("  button scan (%zu elements, %d scans):  %7.1f %7.1f\n", elements, kScans, scan.median, scan.mean);
  }
  if (SUCCEEDED(entered)) CoUninitialize();
  return 0;
}
