#include "files/file_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>

namespace qvx {

void helpMessage(Scope& s, const std::string& text) {
  s.host.MsgBox(text, mb::OK, "Help");
}

std::optional<std::string> readFilePrefix(const std::string& path, std::size_t limit) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes(limit, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(limit));
  if (in.bad()) return std::nullopt;
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
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

std::vector<std::string_view> listItems(std::string_view text, std::size_t maxItems) {
  std::vector<std::string_view> items;
  std::size_t start = 0;
  bool afterLineEnd = true;  // a line end right after another ends no item
  for (std::size_t i = 0; i <= text.size() && items.size() < maxItems; ++i) {
    const char c = i < text.size() ? text[i] : '\n';
    if (c == ',') {
      items.push_back(text.substr(start, i - start));
      start = i + 1;
      afterLineEnd = false;
    } else if (c == '\n') {
      std::string_view item = text.substr(start, i - start);
      if (!item.empty() && item.back() == '\r') item.remove_suffix(1);
      if (!(afterLineEnd && item.empty())) items.push_back(item);
      start = i + 1;
      afterLineEnd = true;
    } else if (c != '\r') {
      afterLineEnd = false;
    }
  }
  return items;
}

std::string fileNumber(double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.15g", v);
  std::string text = buf;
  if (text == "-0") text = "0";
  return v >= 0 || text == "0" ? " " + text : text;
}

}  // namespace qvx
