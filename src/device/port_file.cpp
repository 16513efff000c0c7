#include "device/port_file.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

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
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;

  int c = in.get();
  while (in && isBlank(c)) c = in.get();
  if (!in) return std::nullopt;

  std::string number;
  if (c == '+' || c == '-') {
    number += static_cast<char>(c);
    c = in.get();
  }
  bool digits = false;
  while (in && isDigit(c)) {
    number += static_cast<char>(c);
    digits = true;
    c = in.get();
  }
  if (in && c == '.') {
    number += '.';
    c = in.get();
    while (in && isDigit(c)) {
      number += static_cast<char>(c);
      digits = true;
      c = in.get();
    }
  }
  if (!digits) return std::nullopt;
  const double value = std::clamp(std::strtod(number.c_str(), nullptr), -32768.0, 32767.0);
  return toInt16(value);
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
