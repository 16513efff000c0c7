#include "scpi/call.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "remote/keywords.h"
#include "scpi/error_queue.h"

namespace qvx::scpi {

namespace {

std::string upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

MnemonicForms mnemonicForms(std::string_view mnemonic) {
  if (!mnemonic.empty() && mnemonic.back() == '#') mnemonic.remove_suffix(1);
  MnemonicForms forms{upper(std::string(mnemonic)), {}};
  // The short form is the leading capitals, with the digits that end the mnemonic
  // (CHANnel2: CHAN2).
  for (char c : mnemonic) {
    if (std::islower(static_cast<unsigned char>(c))) break;
    forms.shortForm += c;
  }
  std::size_t digits = mnemonic.size();
  while (digits > 0 && std::isdigit(static_cast<unsigned char>(mnemonic[digits - 1]))) --digits;
  if (forms.shortForm.size() < digits) forms.shortForm += mnemonic.substr(digits);
  return forms;
}

bool mnemonicMatches(std::string_view mnemonic, std::string_view input) {
  const MnemonicForms forms = mnemonicForms(mnemonic);
  return input == forms.longForm || input == forms.shortForm;
}

void Call::expectParams(std::size_t count) const {
  if (unit.params.size() < count) throw Failure{err::MissingParameter, {}};
  if (unit.params.size() > count) throw Failure{err::ParameterNotAllowed, {}};
}

double Call::number(std::size_t index) const {
  const Param& p = unit.params.at(index);
  const std::string& t = p.text;
  // Only the forms of SCPI decimal data: a sign, digits with a point, an exponent.
  const bool starts = !t.empty() && (std::isdigit(static_cast<unsigned char>(t[0])) ||
                                     t[0] == '+' || t[0] == '-' || t[0] == '.');
  char* end = nullptr;
  const double value = starts && !p.quoted ? std::strtod(t.c_str(), &end) : 0;
  if (!starts || p.quoted || end != t.c_str() + t.size() || !std::isfinite(value))
    throw Failure{err::DataTypeError, "a number was expected"};
  return value;
}

int Call::choice(std::size_t index, std::initializer_list<const char*> words) const {
  const Param& p = unit.params.at(index);
  const std::string given = upper(p.text);
  int i = 0;
  for (const char* w : words) {
    if (!p.quoted && mnemonicMatches(w, given)) return i;
    ++i;
  }
  throw Failure{err::IllegalParameterValue, {}};
}

bool Call::boolean(std::size_t index) const {
  const std::string given = upper(unit.params.at(index).text);
  if (given == "ON") return true;
  if (given == "OFF") return false;
  char* end = nullptr;
  const double value = std::strtod(given.c_str(), &end);
  if (given.empty() || end != given.c_str() + given.size() || !std::isfinite(value))
    throw Failure{err::IllegalParameterValue, {}};
  return std::nearbyint(value) != 0;
}

int Call::suffix(std::size_t node, int low, int high) const {
  const int n = suffixes.at(node);
  if (n < low || n > high) throw Failure{err::HeaderSuffixOutOfRange, {}};
  return n;
}

std::string keywordNumber(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.6f", value);
  return text;
}

std::string replyNumber(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", value);
  return text;
}

void applyKeyword(Scope& s, const std::string& key, const std::string& value) {
  RemoteRefresh wanted;
  applyRemoteKeyword(s, key, value, wanted);
  refreshAfterRemote(s, wanted);
}

}  // namespace qvx::scpi
