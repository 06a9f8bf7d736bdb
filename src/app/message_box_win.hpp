#pragma once
// Message boxes and the fatal report.

#include <string_view>

#include "base/error.hpp"

namespace vessa {

// MessageBoxW with no owner and the warning icon.
void show_message(std::string_view title, std::string_view text);

// Start-up failure: the whole chain in a box titled "VESSA", and "Error: " with the error's
// debug form on standard error.
void report_fatal(const Error& error);

}  // namespace vessa
