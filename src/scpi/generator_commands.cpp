// The generator and the counter: each setting is the command-file keyword of the same
// name, or the panel button where there is none.
#include <cstdio>
#include <string>

#include "scpi/commands.h"
#include "scpi/error_queue.h"
#include "scpi/panel_settings.h"
#include "scpi/run_commands.h"

namespace qvx::scpi {

namespace {

constexpr int COUNTER = 3;

void numberSetting(Call& c, const char* key) {
  c.expectParams(1);
  applyKeyword(c.scope, key, keywordNumber(c.number(0)));
}

void measureFrequency(Call& c) {
  c.expectParams(0);
  if (c.scope.OperatingMode != COUNTER)
    throw Failure{err::SettingsConflict, "the counter measures in COUNter mode"};
  setCounterFunction(c.scope, 0);
  c.scope.FCntOneReading = 1;
  try {
    runSingle(c.scope);
  } catch (const Failure&) {
    c.scope.FCntOneReading = 0;
    throw;
  }
  c.scope.FCntOneReading = 0;
  // The loop counts its readings from 0: a run stopped before its gate closed has none.
  if (c.scope.FCntReadings == 0) throw Failure{err::ExecutionError, "the measurement was stopped"};
  c.reply = std::to_string(c.scope.FCntValue);
}

const Command kGenerator[] = {
    {"GENerator:MODE",
     [](Call& c) {
       c.expectParams(1);
       applyKeyword(c.scope, "GENMODE", std::to_string(c.choice(0, {"NORMal", "SWEep", "CUSTom"})));
     },
     [](Call& c) {
       c.expectParams(0);
       static const char* const kNames[] = {"NORM", "SWE", "CUST"};
       c.reply = kNames[c.scope.GenMode];
     }},
    {"GENerator:STYLe",
     [](Call& c) {
       c.expectParams(1);
       applyKeyword(c.scope, "GENSTYLE",
                    std::to_string(c.choice(0, {"SINusoid", "TRIangle", "RAMP", "SQUare"})));
     },
     [](Call& c) {
       c.expectParams(0);
       static const char* const kNames[] = {"SIN", "TRI", "RAMP", "SQU", "CUST"};
       c.reply = kNames[c.scope.GenStyle];
     }},
    {"GENerator:FREQuency", [](Call& c) { numberSetting(c, "GENFREQ"); },
     [](Call& c) {
       c.expectParams(0);
       c.reply = replyNumber(c.scope.GenFreq);
     }},
    // Full amplitude is 2 V, the other step 1 V; the keyword takes the nearer one.
    {"GENerator:AMPLitude", [](Call& c) { numberSetting(c, "GENAMP"); },
     [](Call& c) {
       c.expectParams(0);
       c.reply = std::to_string(3 - c.scope.GenAmpIndex);
     }},
    {"GENerator:DUTY",
     [](Call& c) {
       c.expectParams(1);
       setDuty(c.scope, c.number(0));
     },
     [](Call& c) {
       c.expectParams(0);
       c.reply = std::to_string(c.scope.GenDuty);
     }},
    {"COUNter:SOURce",
     [](Call& c) {
       c.expectParams(1);
       applyKeyword(c.scope, "FREQCOUNTSOURCE",
                    std::to_string(c.choice(0, {"C", "D", "TRIGger", "REFerence"})));
     },
     [](Call& c) {
       c.expectParams(0);
       static const char* const kNames[] = {"C", "D", "TRIG", "REF"};
       c.reply = kNames[c.scope.FCntSource];
     }},
    {"COUNter:FUNCtion",
     [](Call& c) {
       c.expectParams(1);
       setCounterFunction(c.scope, c.choice(0, {"FREQuency", "COUNt"}));
     },
     [](Call& c) {
       c.expectParams(0);
       c.reply = c.scope.FCntMode == 0 ? "FREQ" : "COUN";
     }},
    {"MEASure:FREQuency", nullptr, measureFrequency},
};

}  // namespace

std::span<const Command> generatorCommands() {
  return kGenerator;
}

}  // namespace qvx::scpi
