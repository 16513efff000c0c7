#pragma once
#include <string>

namespace qvx::measure {

// A value with four significant digits and the SI prefix that keeps it between 1 and
// 1000 (p to G): 8.004 -> "8.004 V", 0.000295 -> "295.0 us", 1000 -> "1.000 kHz".
// Percentages and values without a unit keep their own scale.
std::string engineering(double value, const std::string& unit);

// A number for the measurement file: plain decimal, never exponent notation, so any
// reader takes it; three decimals, more below 1 to keep four significant digits
// ("8.004", "0.0002952").
std::string fileNumber(double value);

}  // namespace qvx::measure
