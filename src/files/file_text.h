#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/scope.h"

namespace qvx {

// The message boxes of the file procedures: fixed texts, title "Help", an OK button.
void helpMessage(Scope& s, const std::string& text);
inline constexpr const char* kUnableToSave = "Unable to save - File in use by other application";
inline constexpr const char* kNoFileToLoad = "No File selected to load";

// Reads at most `limit` bytes from the start of a file; nothing when it cannot be
// opened. A file longer than the limit gives exactly `limit` bytes, so the caller
// knows it is at least that long without ever holding more.
std::optional<std::string> readFilePrefix(const std::string& path, std::size_t limit);

// The number a text item starts with, as a list reader takes it: blanks skipped, an
// optional sign, digits with an optional fraction and exponent; 0 when there is none.
// Far too large values saturate instead of becoming infinite.
double leadingNumber(std::string_view item);

// The item as a whole number text (blanks around it allowed); nothing for anything else,
// including an empty item, trailing characters, infinities and NaN.
std::optional<double> wholeNumber(std::string_view item);

// Splits text into list items: an item ends at a comma or a line end; CR is dropped
// and a run of line ends counts as one, so a final line end adds no empty item.
// Stops after `maxItems` items.
std::vector<std::string_view> listItems(std::string_view text, std::size_t maxItems);

// A number in the standard text form of the files: up to 15 significant digits and a
// leading blank for values of zero and above.
std::string fileNumber(double v);

}  // namespace qvx
