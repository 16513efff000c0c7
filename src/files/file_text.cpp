#include "files/file_text.h"

#include <charconv>
#include <cmath>

namespace qvx {

void helpMessage(Scope& s, const std::string& text) {
  s.host.MsgBox(text, mb::OK, "Help");
}

namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// Parses a number at the start of `t`; returns the characters used (0: none). The
// extent is found here; the value is converted exactly by the standard library.
std::size_t parseNumber(std::string_view t, double& value) {
  std::size_t i = 0;
  const bool negative = i < t.size() && t[i] == '-';
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  const std::size_t start = i;
  bool digits = false;
  for (; i < t.size() && isDigit(t[i]); ++i) digits = true;
  if (i < t.size() && t[i] == '.')
    for (++i; i < t.size() && isDigit(t[i]); ++i) digits = true;
  if (!digits) return 0;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < t.size() && (t[j] == '+' || t[j] == '-')) ++j;
    if (j < t.size() && isDigit(t[j])) {
      while (j < t.size() && isDigit(t[j])) ++j;
      i = j;
    }
  }
  double v = 0;
  const auto [end, error] = std::from_chars(t.data() + start, t.data() + i, v);
  if (error == std::errc::result_out_of_range) {
    // Saturate rather than become infinite; a vanishing value is 0.
    const std::string_view text = t.substr(start, i - start);
    const std::size_t e = text.find_first_of("eE");
    v = e != std::string_view::npos && text[e + 1] == '-' ? 0 : 1e300;
  }
  (void)end;
  value = negative ? -v : v;
  return i;
}

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

// CR, LF and CR LF all end a line; CR LF is a run of two, and a run counts as one.
bool isLineEnd(char c) {
  return c == '\r' || c == '\n';
}

}  // namespace

double leadingNumber(std::string_view item) {
  std::size_t i = 0;
  while (i < item.size() && isBlank(item[i])) ++i;
  double v = 0;
  return parseNumber(item.substr(i), v) ? v : 0;
}

std::optional<double> wholeNumber(std::string_view item) {
  while (!item.empty() && (isBlank(item.front()) || item.front() == '\r')) item.remove_prefix(1);
  while (!item.empty() && (isBlank(item.back()) || item.back() == '\r')) item.remove_suffix(1);
  double v = 0;
  if (item.empty() || parseNumber(item, v) != item.size()) return std::nullopt;
  return v;
}

ListItems::ListItems(std::string_view text, std::size_t maxItems) : text_(text), left_(maxItems) {
  // Blanks and line ends after the last item end it; a comma there opens no further item.
  while (!text_.empty() && (isBlank(text_.back()) || isLineEnd(text_.back())))
    text_.remove_suffix(1);
}

std::optional<std::string_view> ListItems::next() {
  while (left_ > 0 && i_ < text_.size()) {
    const char c = text_[i_++];
    // A line end right after another ends no item.
    if (c == ',' || (isLineEnd(c) && !afterLineEnd_)) {
      const std::string_view item = text_.substr(start_, i_ - 1 - start_);
      start_ = i_;
      afterLineEnd_ = c != ',';
      --left_;
      return item;
    }
    if (isLineEnd(c)) start_ = i_;
    afterLineEnd_ = isLineEnd(c);
  }
  if (left_ == 0 || start_ >= text_.size()) return std::nullopt;
  --left_;
  const std::string_view last = text_.substr(start_);
  start_ = text_.size();
  return last;
}

std::vector<std::string_view> listItems(std::string_view text, std::size_t maxItems) {
  std::vector<std::string_view> items;
  ListItems reader(text, maxItems);
  while (const auto item = reader.next()) items.push_back(*item);
  return items;
}

std::string fileNumber(double v) {
  // Rounded to 15 significant digits, then written in plain decimals: never an exponent,
  // which a %g form uses below 0.0001 and from 10^15, and never the locale's decimal
  // comma, which would split the number into two items.
  char digits[32];
  const auto rounded =
      std::to_chars(digits, digits + sizeof digits, v, std::chars_format::scientific, 14);
  double value = 0;
  std::from_chars(digits, rounded.ptr, value);
  if (value == 0) value = 0;  // no "-0"
  char buf[400];
  const auto written = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
  const std::string text(buf, written.ec == std::errc() ? written.ptr : buf);
  return value >= 0 ? " " + text : text;
}

}  // namespace qvx
