#pragma once
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "core/scope.h"
#include "scpi/parser.h"

namespace qvx::scpi {

class Session;

// A command refused: its error number and, when it helps, what was wrong.
struct Failure {
  int code;
  std::string detail;
};

// One command being run: the instrument, the client's session, the unit as parsed, the
// numeric suffixes of its header (1 where none was given) and the reply it builds. The
// parameter readers throw Failure with the standard error for what they cannot take.
struct Call {
  Scope& scope;
  Session& session;
  const Unit& unit;
  std::vector<int> suffixes;
  std::string reply;

  // Exactly `count` parameters, or -109 / -108.
  void expectParams(std::size_t count) const;
  // The parameter as a decimal number (exponent allowed), or -104.
  double number(std::size_t index) const;
  // Which of the mnemonics (long form with its short form in upper case) the parameter
  // names, or -224.
  int choice(std::size_t index, std::initializer_list<const char*> words) const;
  // ON, OFF, or a number (non-zero is on), or -224.
  bool boolean(std::size_t index) const;
  // The suffix of the header's node `node` (0-based), checked to lie in low..high, or -114.
  int suffix(std::size_t node, int low, int high) const;
};

// Whether `input` (upper case) is the long or the short form of `mnemonic` ("CHANnel": the
// short form is the part in upper case, "CHAN"). A trailing '#' in the mnemonic (numeric
// suffix allowed) is not part of either form.
bool mnemonicMatches(std::string_view mnemonic, std::string_view input);

// The two forms a mnemonic may be sent in, as `mnemonicMatches` accepts them.
struct MnemonicForms {
  std::string longForm, shortForm;
};
MnemonicForms mnemonicForms(std::string_view mnemonic);

// A number as the command-file keywords read it: plain decimal, never exponent form.
std::string keywordNumber(double value);

// A number as a reply gives it: nine significant digits, exponent form where shorter.
std::string replyNumber(double value);

// Applies one command-file keyword with its value and refreshes what it changed, as a
// whole command file of that one item would.
void applyKeyword(Scope& s, const std::string& key, const std::string& value);

}  // namespace qvx::scpi
