#include "panel/numeric.h"

#include <cstdio>

namespace qvx {

std::string plainNumber(double v) {
  if (v == 0) return "0";
  // Single-precision values print with up to 7 significant digits on the panel.
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.7g", v);
  std::string s = buf;
  if (s.find('e') != std::string::npos) return s;
  if (s.find('.') != std::string::npos) {
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
  }
  return s;
}

std::string numberText(double v) {
  std::string s = plainNumber(v);
  return v >= 0 ? " " + s : s;
}

}  // namespace qvx
