#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qvx {

// A number as a bench user types it into a readout: a plain decimal with '.' whatever the
// desktop's language, an exponent ("2.5e3"), and after it, with or without a blank, an SI
// prefix (p n u µ m k K M G) and the readout's unit in any case ("1k", "2.5 kHz", "50 %",
// "-1.2 V", "10 ms"). Everything else is refused with a short reason: empty text, a comma
// (1,5 reads one way in Berlin and another in Boston), infinities and NaN, a number too
// large to hold, and any text after the number that is not a prefix and unit.
struct TypedNumber {
  std::optional<double> value;
  std::string refusal;  // why the text is no number, when value is empty
};

TypedNumber readTypedNumber(std::string_view text, const std::vector<std::string>& units);

}  // namespace qvx
