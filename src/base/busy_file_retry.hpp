#pragma once
// When to try a file operation again that another program blocked for a moment. Editors, virus
// scanners, search indexers and cloud-sync clients often hold a file open briefly without
// letting anyone delete or rename it; replacing the file then fails with a sharing or lock
// violation that is gone a few milliseconds later (a rename over a file held open says access
// denied, as one the file's attribute or rights refuse does: the Win32 glue tells them apart). Plain values only: the Win32 glue asks, the
// host tests check.

#include <cstdint>
#include <optional>

namespace vessa {

// How long to wait in milliseconds before the next try after the `failed_tries`-th failure in a
// row (1 after the first) with the Win32 error `win32_error`, or nothing to give up. Only the
// sharing and lock violations of such a hold are tried again; the waits start short (most holds are brief) and add up
// to less than half a second, because the configuration is saved on the UI thread.
[[nodiscard]] std::optional<std::uint32_t> busy_file_retry_wait_ms(std::uint32_t win32_error,
                                                                   std::uint32_t failed_tries) noexcept;

}  // namespace vessa
