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

}  // namespace

// Reads only as far as the first number ends, so a huge file costs no more than its
// leading blanks.
std::optional<int> readPortFile(const std::string& path) {
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(openPlainFile(path, "rb"), std::fclose);
  if (!in) return std::nullopt;
  std::FILE* f = in.get();

  int c = std::getc(f);
  while (c != EOF && isBlank(c)) c = std::getc(f);

  std::string number;
  if (c == '+' || c == '-') {
    number += static_cast<char>(c);
    c = std::getc(f);
  }
  bool digits = false;
  while (isDigit(c)) {
    number += static_cast<char>(c);
    digits = true;
    c = std::getc(f);
  }
  if (c == '.') {
    number += '.';
    c = std::getc(f);
    while (isDigit(c)) {
      number += static_cast<char>(c);
      digits = true;
      c = std::getc(f);
    }
  }
  if (!digits) return std::nullopt;
  // from_chars takes no "+" and reads "." whatever the locale says the decimal sign is.
  const std::size_t skip = number.front() == '+' ? 1 : 0;
  double value = 0;
  std::from_chars(number.data() + skip, number.data() + number.size(), value);
  return toInt16(std::clamp(value, -32768.0, 32767.0));
}

void writePortFile(const std::string& path, int port) {
  std::error_code ec;
  if (std::filesystem::exists(path, ec) && !std::filesystem::is_directory(path, ec))
    std::filesystem::remove(path, ec);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return;
  out << numberText(port) << " \r\n";
}

}  // namespace qvx
