#include "files/file_text.h"

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

// Parses a number at the start of `t`; returns the characters used (0: none).
std::size_t parseNumber(std::string_view t, double& value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  double mantissa = 0;
  int scale = 0;
  bool digits = false;
  for (; i < t.size() && isDigit(t[i]); ++i, digits = true) mantissa = mantissa * 10 + (t[i] - '0');
  if (i < t.size() && t[i] == '.') {
    ++i;
    for (; i < t.size() && isDigit(t[i]); ++i, digits = true) {
      mantissa = mantissa * 10 + (t[i] - '0');
      --scale;
    }
  }
  if (!digits) return 0;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    std::size_t j = i + 1;
    bool expNegative = false;
    if (j < t.size() && (t[j] == '+' || t[j] == '-')) expNegative = t[j++] == '-';
    if (j < t.size() && isDigit(t[j])) {
      int exponent = 0;
      for (; j < t.size() && isDigit(t[j]); ++j)
        exponent = std::min(exponent * 10 + (t[j] - '0'), 9999);
      scale += expNegative ? -exponent : exponent;
      i = j;
    }
  }
  double v = mantissa * std::pow(10.0, scale);
  if (!std::isfinite(v)) v = 1e300;
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
