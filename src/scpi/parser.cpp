#include "scpi/parser.h"

#include <array>
#include <charconv>

#include "scpi/error_queue.h"

namespace qvx::scpi {

namespace {

// The 12-character limit on mnemonics leaves room for a suffix; longer ones are refused
// before they are compared with anything.
constexpr std::size_t kMaxMnemonic = 24;

// Character classes by table: the parser looks at every character of every line a
// client sends, and one lookup is cheaper than a chain of comparisons (and than the C
// library's locale-aware classification, which these ASCII classes do not want).
enum CharClass : unsigned char {
  kBlank = 1,
  kLetter = 2,
  kDigit = 4,
  kUnderscore = 8,
  kSeparator = 16,   // ',' and ';' end a parameter
  kUnquotable = 32,  // quotes and control or non-ASCII bytes, refused in a plain parameter
};
constexpr unsigned char kWordChar = kLetter | kDigit | kUnderscore;

constexpr std::array<unsigned char, 256> kClasses = [] {
  std::array<unsigned char, 256> t{};
  for (int c = 0; c < 0x20; ++c) t[c] = kUnquotable;
  for (int c = 0x7f; c < 256; ++c) t[c] = kUnquotable;
  t['"'] = t['\''] = kUnquotable;
  t[' '] = t['\t'] = kBlank;
  t[','] = t[';'] = kSeparator;
  for (int c = 'A'; c <= 'Z'; ++c) t[c] = t[c + ('a' - 'A')] = kLetter;
  for (int c = '0'; c <= '9'; ++c) t[c] = kDigit;
  t['_'] = kUnderscore;
  return t;
}();

bool is(char c, unsigned char classes) {
  return (kClasses[static_cast<unsigned char>(c)] & classes) != 0;
}
bool isBlank(char c) {
  return is(c, kBlank);
}
char upper(char c) {
  return is(c, kLetter) && c >= 'a' ? static_cast<char>(c - ('a' - 'A')) : c;
}

// Walks the line by pointer: the parser asks "at the end?" before every character.
class Reader {
 public:
  explicit Reader(std::string_view text) : pos_(text.data()), end_(text.data() + text.size()) {}

  bool atEnd() const { return pos_ == end_; }
  char peek() const { return atEnd() ? '\0' : *pos_; }
  void skipBlanks() {
    while (pos_ != end_ && isBlank(*pos_)) ++pos_;
  }
  char take() { return *pos_++; }

  // A mnemonic with its optional numeric suffix; false when none starts here.
  bool node(Node& out, int& error) {
    if (!is(peek(), kLetter)) {
      error = atEnd() || peek() == ';' ? err::SyntaxError : err::InvalidCharacter;
      return false;
    }
    const char* const start = pos_;
    while (pos_ != end_ && is(*pos_, kWordChar)) ++pos_;
    const std::string_view word(start, static_cast<std::size_t>(pos_ - start));
    if (word.size() > kMaxMnemonic) {
      error = err::UndefinedHeader;
      return false;
    }
    std::size_t digits = word.size();
    while (digits > 0 && is(word[digits - 1], kDigit)) --digits;
    out.name.resize(digits);
    for (std::size_t i = 0; i < digits; ++i) out.name[i] = upper(word[i]);
    out.suffix = -1;
    if (digits < word.size()) {
      const std::string_view number = word.substr(digits);
      out.suffix = 1000000;
      if (number.size() <= 6)
        std::from_chars(number.data(), number.data() + number.size(), out.suffix);
    }
    return true;
  }

  // One parameter up to the next ',' or ';' or the end; false with `error` set when it
  // is malformed.
  bool param(Param& out, int& error) {
    skipBlanks();
    out = {};
    const char c = peek();
    if (c == '"' || c == '\'') {
      take();
      out.quoted = true;
      for (;;) {
        if (atEnd()) {
          error = err::SyntaxError;
          return false;
        }
        const char d = take();
        if (d == c) {
          if (peek() != c) break;
          take();
        }
        out.text += d;
      }
      skipBlanks();
    } else {
      const char* const start = pos_;
      const char* last = start;  // just past the last character that is not blank
      for (; pos_ != end_ && !is(*pos_, kSeparator); ++pos_) {
        if (is(*pos_, kUnquotable)) {
          error = err::InvalidCharacter;
          return false;
        }
        if (!isBlank(*pos_)) last = pos_ + 1;
      }
      out.text.assign(start, last);
      if (out.text.empty()) {
        error = err::SyntaxError;
        return false;
      }
    }
    if (!atEnd() && peek() != ',' && peek() != ';') {
      error = err::SyntaxError;
      return false;
    }
    return true;
  }

 private:
  const char* pos_;
  const char* end_;
};

// Parses one unit at the reader's position; `path` is the current path, updated after
// a command of the subsystems.
bool parseUnit(Reader& r, std::vector<Node>& path, Unit& unit, int& error) {
  if (r.peek() == '*') {
    r.take();
    unit.common = true;
    unit.path.emplace_back();
    if (!r.node(unit.path.back(), error)) return false;
  } else {
    const bool fromRoot = r.peek() == ':';
    if (fromRoot) r.take();
    // One allocation for the deepest path a unit keeps.
    unit.path.reserve(kMaxDepth);
    if (!fromRoot) unit.path = path;
    // Deeper than every command a path names none, however deep; nodes past that depth
    // are read but not kept, so that a line of relative headers ("A:A;A:A;...") cannot
    // lengthen each unit's path by the one before it, which would take time and memory
    // growing with the line's square.
    Node beyond;
    for (;;) {
      Node& n = unit.path.size() < kMaxDepth ? unit.path.emplace_back() : beyond;
      if (!r.node(n, error)) return false;
      if (r.peek() != ':') break;
      r.take();
    }
    path.assign(unit.path.begin(), unit.path.end() - 1);
  }
  if (r.peek() == '?') {
    r.take();
    unit.query = true;
  }
  if (!r.atEnd() && r.peek() != ';' && !isBlank(r.peek())) {
    error = err::InvalidCharacter;
    return false;
  }
  r.skipBlanks();
  if (r.atEnd() || r.peek() == ';') return true;
  for (;;) {
    Param p;
    if (!r.param(p, error)) return false;
    unit.params.push_back(std::move(p));
    if (r.peek() != ',') break;
    r.take();
  }
  return true;
}

}  // namespace

ParsedLine parseLine(std::string_view line) {
  ParsedLine parsed;
  Reader r(line);
  std::vector<Node> path;
  for (;;) {
    r.skipBlanks();
    if (r.atEnd()) break;
    if (r.peek() == ';') {
      r.take();
      continue;
    }
    Unit unit;
    if (!parseUnit(r, path, unit, parsed.error)) break;
    parsed.units.push_back(std::move(unit));
    r.skipBlanks();
    if (r.atEnd()) break;
    r.take();  // the ';' that parseUnit stopped at
  }
  return parsed;
}

}  // namespace qvx::scpi
