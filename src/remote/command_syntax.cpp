#include "remote/command_syntax.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>

namespace qvx {

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}
// A comma or a line end, by table: every character of a file is looked at for it.
constexpr std::array<bool, 256> kItemEnds = [] {
  std::array<bool, 256> t{};
  t[','] = t['\n'] = t['\r'] = true;
  return t;
}();
bool endsItem(char c) {
  return kItemEnds[static_cast<unsigned char>(c)];
}

void toUpper(std::string& text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

std::vector<std::string_view> readItems(std::string_view text) {
  std::vector<std::string_view> items;
  // Room for a command file of usual length at once.
  items.reserve(16);
  const char* p = text.data();
  const char* const end = p + text.size();
  const auto itemEnd = [end](const char* from) {
    while (from != end && !endsItem(*from)) ++from;
    return from;
  };
  while (p != end) {
    while (p != end && isBlank(*p)) ++p;
    if (p != end && *p == '"') {
      const char* const close = std::find(p + 1, end, '"');
      items.emplace_back(p + 1, close - (p + 1));
      p = itemEnd(close == end ? end : close + 1);
    } else {
      const char* const start = p;
      p = itemEnd(p);
      items.emplace_back(start, p - start);
    }
    // One separator ends the item: a comma, or a line end (CR LF counts as one).
    if (p != end && *p++ == '\r' && p != end && *p == '\n') ++p;
  }
  return items;
}

void Remotereadcom(RemoteState& s) {
  // Decoded in place, so that a poll of many items reuses the two strings' room.
  std::string& item = s.RemoteKey;
  const std::size_t eq = item.find('=');
  // A key shorter than two characters, no "=" at all, or nothing after it.
  if (eq == std::string::npos || eq < 2 || eq + 1 == item.size()) {
    s.RemoteKey = "zzz";
    s.RemoteValue.clear();
    return;
  }
  std::size_t semi = item.find(';');
  if (semi == std::string::npos) semi = item.size();
  if (semi < eq) semi = eq + 1;
  s.RemoteValue.assign(trimmed(std::string_view(item).substr(eq + 1, semi - eq - 1)));
  toUpper(s.RemoteValue);
  item.resize(eq);
  toUpper(item);
}

}  // namespace qvx
