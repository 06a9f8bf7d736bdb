#pragma once
// Reals as the shortest decimal text that reads back to the same value, always with a decimal
// point: 91.0, 0.5, 1.0e+20. Shared by the configuration file and every message that shows a
// real as it is.

#include <string>

namespace vessa {

// Plain digits for magnitudes from 1e-5 up to 1e17 (100.0, 0.1), exponent form beyond
// (1.0e+20, 2.5e-07); "nan", "inf" and "-inf" for the values that are not finite.
[[nodiscard]] std::string real_text(double value);
// The same for a 32-bit real, shortest for its own precision (0.1f is "0.1").
[[nodiscard]] std::string real_text(float value);

}  // namespace vessa
