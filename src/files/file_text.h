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

// The number a text item starts with, as a list reader takes it: blanks skipped, an
// optional sign, digits with an optional fraction and exponent; 0 when there is none.
// Far too large values saturate instead of becoming infinite.
double leadingNumber(std::string_view item);

// The item as a whole number text (blanks around it allowed); nothing for anything else,
// including an empty item, trailing characters, infinities and NaN.
std::optional<double> wholeNumber(std::string_view item);

// Splits text into list items: an item ends at a comma or a line end. CR, LF and CR LF
// all end a line, and a run of line ends counts as one, so blank lines add no items.
// Nothing after the last item adds one: neither line ends nor a final comma, so a
// record cut after any value holds just the values before the cut. Stops after
// `maxItems` items.
std::vector<std::string_view> listItems(std::string_view text, std::size_t maxItems);

// The same items one at a time, for a reader that needs no list of them all.
class ListItems {
 public:
  ListItems(std::string_view text, std::size_t maxItems);
  // The next item; nothing after the last one.
  std::optional<std::string_view> next();

 private:
  std::string_view text_;
  std::size_t left_;
  std::size_t i_ = 0, start_ = 0;
  bool afterLineEnd_ = true;
};

// A number in the standard text form of the files: up to 15 significant digits in plain
// decimals (no exponent, a point whatever the locale) and a leading blank for values of
// zero and above. Whole numbers to 15 digits and every single float read back exactly.
std::string fileNumber(double v);

}  // namespace qvx
