#include "scpi/settings_reset.h"

#include <utility>

#include "scpi/call.h"
#include "scpi/panel_settings.h"

namespace qvx::scpi {

void resetSettings(Scope& s) {
  // The start values of the program, as keyword items.
  static const std::pair<const char*, const char*> kStart[] = {
      {"SCOPEMODE", "0"},   {"ARANGE", "1"},      {"BRANGE", "1"},     {"AMODE", "AC"},
      {"BMODE", "AC"},      {"APROBE", "1"},      {"BPROBE", "1"},     {"TRIGMODE", "0"},
      {"TRIGSOURCE", "A"},  {"TRIGSLOPE", "POS"}, {"PRETRIG", "0"},    {"TRIGLEVEL", "0"},
      {"SAMPLERATE", "3"},  {"SAMPLESIZE", "4"},  {"GENMODE", "0"},    {"GENSTYLE", "0"},
      {"GENFREQ", "50000"}, {"GENAMP", "2"},      {"GENSWEEPST", "5"}, {"FREQCOUNTSOURCE", "0"},
  };
  for (const auto& [key, value] : kStart) applyKeyword(s, key, value);
  for (int channel = 0; channel < 4; ++channel) setChannelShown(s, channel, true);
  setDuty(s, 50);
  setCounterFunction(s, 0);
}

}  // namespace qvx::scpi
