#include "base/debug_output.hpp"

#include <atomic>
#include <cstdio>

namespace vessa::debug {
namespace {

void write_to_stdout(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

// Atomic only so that a reader on a worker thread is well defined; it is written once.
std::atomic<bool> g_enabled{false};
std::atomic<LineSink> g_sink{&write_to_stdout};

}  // namespace

void enable() noexcept { g_enabled.store(true, std::memory_order_relaxed); }

bool enabled() noexcept { return g_enabled.load(std::memory_order_relaxed); }

void line(std::string_view text) {
  if (!enabled()) return;
  g_sink.load(std::memory_order_relaxed)(text);
}

void set_sink(LineSink sink) noexcept { g_sink.store(sink != nullptr ? sink : &write_to_stdout); }

}  // namespace vessa::debug
