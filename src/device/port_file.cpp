#include "device/port_file.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "core/plain_file.h"
#include "panel/numeric.h"

namespace qvx {

namespace {

bool isBlank(int c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool isDigit(int c) {
  return c >= '0' && c <= '9';
}

// The first number of the characters `next` gives, EOF at their end. Asks for no more
// than that number and the blanks before it.
template <class Next>
std::optional<int> parsePortNumber(Next next) {
  int c = next();
  while (c != EOF && isBlank(c)) c = next();

  std::string number;
  if (c == '+' || c == '-') {
    number += static_cast<char>(c);
    c = next();
  }
  bool digits = false;
  while (isDigit(c)) {
    number += static_cast<char>(c);
    digits = true;
    c = next();
  }
  if (c == '.') {
    number += '.';
    c = next();
    while (isDigit(c)) {
      number += static_cast<char>(c);
      digits = true;
      c = next();
    }
  }
  if (!digits) return std::nullopt;
  // from_chars takes no "+" and reads "." whatever the locale says the decimal sign is.
  const std::size_t skip = number.front() == '+' ? 1 : 0;
  double value = 0;
  std::from_chars(number.data() + skip, number.data() + number.size(), value);
  return toInt16(std::clamp(value, -32768.0, 32767.0));
}

}  // namespace

// Reads only as far as the first number ends, so a huge file costs no more than its
// leading blanks.
std::optional<int> readPortFile(const std::string& path) {
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(openPlainFile(path, "rb"), std::fclose);
  if (!in) return std::nullopt;
  return parsePortNumber([f = in.get()] { return std::getc(f); });
}

std::optional<int> decodePortFile(std::string_view bytes) {
  std::size_t i = 0;
  return parsePortNumber(
      [&] { return i < bytes.size() ? static_cast<unsigned char>(bytes[i++]) : EOF; });
}

std::string portFileText(int port) {
  return numberText(port) + " \r\n";
}

void writePortFile(const std::string& path, int port) {
  std::error_code ec;
  if (std::filesystem::exists(path, ec) && !std::filesystem::is_directory(path, ec))
    std::filesystem::remove(path, ec);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return;
  out << portFileText(port);
}

}  // namespace qvx
