#include <atomic>

#include "base/file_io.hpp"

namespace vessa {
namespace file_io_detail {
std::atomic<std::size_t> g_crash_after{0};
}  // namespace file_io_detail

void simulate_crash_after_bytes_for_testing(std::size_t bytes_or_zero) {
  file_io_detail::g_crash_after.store(bytes_or_zero);
}

}  // namespace vessa
