#include "remote/command_syntax.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace qvx {

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}
bool isLineEnd(char c) {
  return c == '\n' || c == '\r';
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
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n) {
    while (i < n && isBlank(text[i])) ++i;
    std::string_view item;
    if (i < n && text[i] == '"') {
      const std::size_t close = text.find('"', i + 1);
      const std::size_t end = close == std::string_view::npos ? n : close;
      item = text.substr(i + 1, end - i - 1);
      i = end == n ? n : end + 1;
      while (i < n && text[i] != ',' && !isLineEnd(text[i])) ++i;
    } else {
      const std::size_t start = i;
      while (i < n && text[i] != ',' && !isLineEnd(text[i])) ++i;
      item = text.substr(start, i - start);
    }
    items.push_back(item);
    // One separator ends the item: a comma, or a line end (CR LF counts as one).
    if (i < n && text[i] == ',') {
      ++i;
    } else if (i < n && text[i] == '\r') {
      ++i;
      if (i < n && text[i] == '\n') ++i;
    } else if (i < n) {
      ++i;
    }
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
