#include "panel/number_entry.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace qvx {

namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string_view trimmed(std::string_view t) {
  while (!t.empty() && std::isspace(static_cast<unsigned char>(t.front()))) t.remove_prefix(1);
  while (!t.empty() && std::isspace(static_cast<unsigned char>(t.back()))) t.remove_suffix(1);
  return t;
}

bool sameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

bool isUnit(std::string_view t, const std::vector<std::string>& units) {
  for (const std::string& u : units)
    if (sameLetters(t, u)) return true;
  return false;
}

// The length of the number at the start of `t` (sign, digits with one '.', exponent), or 0
// when it does not start with one.
std::size_t numberLength(std::string_view t) {
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < t.size() && isDigit(t[i])) ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && isDigit(t[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < t.size() && (t[j] == '+' || t[j] == '-')) ++j;
    if (j < t.size() && isDigit(t[j])) {
      while (j < t.size() && isDigit(t[j])) ++j;
      i = j;
    }
  }
  return i;
}

// The factor of an SI prefix at the start of `t`, and its length in bytes.
std::optional<std::pair<double, std::size_t>> prefix(std::string_view t) {
  if (t.substr(0, 2) == "\u00B5") return std::pair{1e-6, std::size_t{2}};
  if (t.empty()) return std::nullopt;
  switch (t[0]) {
    case 'p':
      return std::pair{1e-12, std::size_t{1}};
    case 'n':
      return std::pair{1e-9, std::size_t{1}};
    case 'u':
      return std::pair{1e-6, std::size_t{1}};
    case 'm':
      return std::pair{1e-3, std::size_t{1}};
    case 'k':
    case 'K':
      return std::pair{1e3, std::size_t{1}};
    case 'M':
      return std::pair{1e6, std::size_t{1}};
    case 'G':
      return std::pair{1e9, std::size_t{1}};
    default:
      return std::nullopt;
  }
}

TypedNumber refused(std::string reason) {
  return {std::nullopt, std::move(reason)};
}

}  // namespace

TypedNumber readTypedNumber(std::string_view text, const std::vector<std::string>& units) {
  const std::string_view t = trimmed(text);
  if (t.empty()) return refused("Nothing typed: type a number");
  const std::string quoted = "\"" + std::string(t) + "\"";
  if (t.find(',') != std::string_view::npos)
    return refused(quoted + " is refused: use a point for decimals, no commas");
  const std::string notNumber =
      quoted + " is not a number" + (units.empty() ? std::string() : " in " + units.front());
  const std::size_t length = numberLength(t);
  if (length == 0) return refused(notNumber);

  // from_chars reads no leading '+'; the grammar above has checked the rest.
  std::string_view digits = t.substr(0, length);
  if (digits.front() == '+') digits.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error == std::errc::result_out_of_range) return refused(quoted + " is out of range");
  if (error != std::errc{} || end != digits.data() + digits.size()) return refused(notNumber);

  std::string_view rest = trimmed(t.substr(length));
  if (!rest.empty() && !isUnit(rest, units)) {
    const auto p = prefix(rest);
    const std::string_view after = p ? rest.substr(p->second) : rest;
    if (!p || !(after.empty() || isUnit(after, units))) return refused(notNumber);
    value *= p->first;
  }
  if (!std::isfinite(value)) return refused(quoted + " is out of range");
  return {value, {}};
}

}  // namespace qvx
