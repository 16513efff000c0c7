// Operating mode, acquisition, channels and trigger: each setting is the command-file
// keyword of the same name, or the panel button where there is none.
#include <cmath>
#include <cstdio>
#include <string>

#include "scpi/commands.h"
#include "scpi/error_queue.h"
#include "scpi/panel_settings.h"
#include "scpi/run_commands.h"

namespace qvx::scpi {

namespace {

constexpr int GENERATOR = 1, COUNTER = 3;
constexpr int kRateSteps = 5, kSizeSteps = 6;

// Points per second of rate step r on the instrument found: 2 × mantissa × 10^(r + 3).
double rateOfStep(const Scope& s, int r) {
  return 2.0 * s.RateMantissa * std::pow(10.0, r + 3);
}

// One setting with a single word parameter, made with its keyword: `values` are the
// keyword's values in the order of `words`.
template <std::size_t N>
void wordSetting(Call& c, const char* key, std::initializer_list<const char*> words,
                 const char* const (&values)[N]) {
  c.expectParams(1);
  applyKeyword(c.scope, key, values[c.choice(0, words)]);
}

// The channel of a CHANnel<n> header, limited to the analogue ones where `analogue`.
int channel(const Call& c, bool analogue) {
  return c.suffix(0, 1, analogue ? 2 : 4) - 1;
}

// A, B, C, D or CHANnel1..4 as a source parameter: 0..3.
int sourceParam(const Call& c) {
  return c.choice(0, {"A", "B", "C", "D", "CHANnel1", "CHANnel2", "CHANnel3", "CHANnel4"}) % 4;
}

const char* const kModeNames[] = {"SCOP", "GEN", "SGEN", "COUN", "FFT"};
const char* const kDigits[] = {"0", "1", "2", "3", "4"};

void setMode(Call& c) {
  wordSetting(c, "SCOPEMODE", {"SCOPe", "GENerator", "SGEN", "COUNter", "FFT"}, kDigits);
}
void queryMode(Call& c) {
  c.expectParams(0);
  c.reply = kModeNames[c.scope.OperatingMode];
}

void single(Call& c) {
  c.expectParams(0);
  // A generator run plays until STOP, which would hold every client; the counter is
  // measured with :MEASure:FREQuency?.
  if (c.scope.OperatingMode == GENERATOR || c.scope.OperatingMode == COUNTER)
    throw Failure{err::SettingsConflict, "no single capture in this mode"};
  runSingle(c.scope);
}

// A run in progress has already been asked to stop when this line arrived.
void stop(Call& c) {
  c.expectParams(0);
  c.scope.RunFlag = 0;
}

const Command kInstrument[] = {
    {"INSTrument", setMode, queryMode},
    {"INSTrument:SELect", setMode, queryMode},
    {"SINGle", single, nullptr},
    {"STOP", stop, nullptr},
    {"ABORt", stop, nullptr},
    {"ACQuire:STATe", nullptr,
     [](Call& c) {
       c.expectParams(0);
       c.reply = c.scope.RunFlag == 1 ? "RUN" : "STOP";
     }},
    {"ACQuire:SRATe",
     [](Call& c) {
       c.expectParams(1);
       const double wanted = c.number(0);
       for (int r = 0; r < kRateSteps; ++r)
         if (std::abs(wanted - rateOfStep(c.scope, r)) <= 0.01 * rateOfStep(c.scope, r)) {
           applyKeyword(c.scope, "SAMPLERATE", std::to_string(r));
           return;
         }
       throw Failure{err::DataOutOfRange, "rates are 2E3, 2E4, 2E5, 2E6, 2E7 (x1.5 on 30 MS/s)"};
     },
     [](Call& c) {
       c.expectParams(0);
       c.reply = replyNumber(rateOfStep(c.scope, c.scope.SampleRateIndex));
     }},
    {"ACQuire:POINts",
     [](Call& c) {
       c.expectParams(1);
       const double wanted = c.number(0);
       for (int k = 0; k < kSizeSteps; ++k)
         if (wanted == 2048 << k) {
           applyKeyword(c.scope, "SAMPLESIZE", std::to_string(2 << k));
           return;
         }
       throw Failure{err::DataOutOfRange, "2048, 4096, ... 65536 points"};
     },
     [](Call& c) {
       c.expectParams(0);
       c.reply = std::to_string(2048 << c.scope.SampleSizeIndex);
     }},
    {"CHANnel#:RANGe",
     [](Call& c) {
       const int ch = channel(c, true);
       c.expectParams(1);
       const double volts = c.number(0);
       if (volts != 1 && volts != 10) throw Failure{err::DataOutOfRange, "1 or 10 V"};
       applyKeyword(c.scope, ch == 0 ? "ARANGE" : "BRANGE", volts == 10 ? "1" : "0");
     },
     [](Call& c) {
       const int ch = channel(c, true);
       c.expectParams(0);
       c.reply = (ch == 0 ? c.scope.RangeA : c.scope.RangeB) == 1 ? "10" : "1";
     }},
    {"CHANnel#:COUPling",
     [](Call& c) {
       const int ch = channel(c, true);
       static const char* const kValues[] = {"AC", "DC"};
       wordSetting(c, ch == 0 ? "AMODE" : "BMODE", {"AC", "DC"}, kValues);
     },
     [](Call& c) {
       const int ch = channel(c, true);
       c.expectParams(0);
       c.reply = (ch == 0 ? c.scope.CouplingA : c.scope.CouplingB) == 1 ? "DC" : "AC";
     }},
    {"CHANnel#:PROBe",
     [](Call& c) {
       const int ch = channel(c, true);
       c.expectParams(1);
       const double factor = c.number(0);
       if (factor != 1 && factor != 10) throw Failure{err::DataOutOfRange, "1 or 10"};
       applyKeyword(c.scope, ch == 0 ? "APROBE" : "BPROBE", factor == 10 ? "10" : "1");
     },
     [](Call& c) {
       const int ch = channel(c, true);
       c.expectParams(0);
       c.reply = (ch == 0 ? c.scope.ProbeA : c.scope.ProbeB) == 1 ? "10" : "1";
     }},
    {"CHANnel#:DISPlay",
     [](Call& c) {
       const int ch = channel(c, false);
       c.expectParams(1);
       setChannelShown(c.scope, ch, c.boolean(0));
     },
     [](Call& c) {
       const int ch = channel(c, false);
       c.expectParams(0);
       c.reply = channelShown(c.scope, ch) ? "1" : "0";
     }},
    {"TRIGger:MODE",
     [](Call& c) {
       wordSetting(c, "TRIGMODE", {"INSTant", "TRIGgered", "FILTered"}, kDigits);
     },
     [](Call& c) {
       c.expectParams(0);
       static const char* const kNames[] = {"INST", "TRIG", "FILT"};
       c.reply = kNames[c.scope.TrigMode];
     }},
    {"TRIGger:SOURce",
     [](Call& c) {
       c.expectParams(1);
       static const char* const kValues[] = {"A", "B", "C", "D"};
       applyKeyword(c.scope, "TRIGSOURCE", kValues[sourceParam(c)]);
     },
     [](Call& c) {
       c.expectParams(0);
       c.reply = std::string(1, static_cast<char>('A' + c.scope.TrigSource));
     }},
    {"TRIGger:SLOPe",
     [](Call& c) {
       static const char* const kValues[] = {"POS", "NEG"};
       wordSetting(c, "TRIGSLOPE", {"POSitive", "NEGative"}, kValues);
     },
     [](Call& c) {
       c.expectParams(0);
       c.reply = c.scope.TrigSlope == 1 ? "POS" : "NEG";
     }},
    {"TRIGger:LEVel",
     [](Call& c) {
       c.expectParams(1);
       applyKeyword(c.scope, "TRIGLEVEL", keywordNumber(c.number(0)));
     },
     [](Call& c) {
       c.expectParams(0);
       char text[32];
       std::snprintf(text, sizeof text, "%.3f", c.scope.TrigLevelVolts);
       c.reply = text;
     }},
    {"TRIGger:PRETrigger",
     [](Call& c) {
       c.expectParams(1);
       const double points = c.number(0);
       const char* value = points == 0 ? "0" : points == 10 ? "1" : points == 100 ? "2" : nullptr;
       if (!value) throw Failure{err::DataOutOfRange, "0, 10 or 100 points"};
       applyKeyword(c.scope, "PRETRIG", value);
     },
     [](Call& c) {
       c.expectParams(0);
       static const char* const kPoints[] = {"0", "10", "100"};
       c.reply = kPoints[c.scope.PretrigIndex];
     }},
};

}  // namespace

std::span<const Command> instrumentCommands() {
  return kInstrument;
}

}  // namespace qvx::scpi
