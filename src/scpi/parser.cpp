#include "scpi/parser.h"

#include <cctype>
#include <charconv>

#include "scpi/error_queue.h"

namespace qvx::scpi {

namespace {

// The 12-character limit on mnemonics leaves room for a suffix; longer ones are refused
// before they are compared with anything.
constexpr std::size_t kMaxMnemonic = 24;

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  bool atEnd() const { return pos_ >= text_.size(); }
  char peek() const { return atEnd() ? '\0' : text_[pos_]; }
  void skipBlanks() {
    while (!atEnd() && isBlank(text_[pos_])) ++pos_;
  }
  char take() { return text_[pos_++]; }

  // A mnemonic with its optional numeric suffix; false when none starts here.
  bool node(Node& out, int& error) {
    if (!std::isalpha(static_cast<unsigned char>(peek()))) {
      error = atEnd() || peek() == ';' ? err::SyntaxError : err::InvalidCharacter;
      return false;
    }
    const std::size_t start = pos_;
    while (!atEnd() && (std::isalnum(static_cast<unsigned char>(peek())) || peek() == '_')) ++pos_;
    const std::string_view word = text_.substr(start, pos_ - start);
    if (word.size() > kMaxMnemonic) {
      error = err::UndefinedHeader;
      return false;
    }
    std::size_t digits = word.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(word[digits - 1]))) --digits;
    out.name.assign(word.substr(0, digits));
    for (char& c : out.name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
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
      while (!atEnd() && peek() != ',' && peek() != ';') {
        const char d = take();
        if (d == '"' || d == '\'' || static_cast<unsigned char>(d) < 0x20 ||
            static_cast<unsigned char>(d) > 0x7e) {
          if (!isBlank(d)) {
            error = err::InvalidCharacter;
            return false;
          }
        }
        out.text += d;
      }
      while (!out.text.empty() && isBlank(out.text.back())) out.text.pop_back();
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
  std::string_view text_;
  std::size_t pos_ = 0;
};

// Parses one unit at the reader's position; `path` is the current path, updated after
// a command of the subsystems.
bool parseUnit(Reader& r, std::vector<Node>& path, Unit& unit, int& error) {
  unit = {};
  if (r.peek() == '*') {
    r.take();
    unit.common = true;
    Node n;
    if (!r.node(n, error)) return false;
    unit.path.push_back(n);
  } else {
    std::vector<Node> nodes;
    const bool fromRoot = r.peek() == ':';
    if (fromRoot) r.take();
    for (;;) {
      Node n;
      if (!r.node(n, error)) return false;
      nodes.push_back(n);
      if (r.peek() != ':') break;
      r.take();
    }
    unit.path = fromRoot ? std::vector<Node>{} : path;
    unit.path.insert(unit.path.end(), nodes.begin(), nodes.end());
    // Deeper than every command a path names none, however deep; cut there, so that a
    // line of relative headers ("A:A;A:A;...") cannot lengthen each unit's path by the
    // one before it, which would take time and memory growing with the line's square.
    if (unit.path.size() > kMaxDepth) unit.path.resize(kMaxDepth);
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
