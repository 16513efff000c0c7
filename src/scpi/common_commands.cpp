// IEEE 488.2 common commands and the SYSTem subsystem.
#include <string>

#include "scpi/commands.h"
#include "scpi/error_queue.h"
#include "scpi/session.h"
#include "scpi/settings_reset.h"

#ifndef QVX_VERSION
#define QVX_VERSION "unknown"
#endif

namespace qvx::scpi {

namespace {

// The model the last probe found: the 20 MS/s instrument, the 30 MS/s one (1.5 times
// faster on every rate step), or none.
const char* modelName(const Scope& s) {
  if (s.ModelCode == 0) return "no instrument found";
  return s.RateMantissa > 1.0f ? "QVX 30 MS/s" : "QVX 20 MS/s";
}

int statusByte(const Session& session) {
  int stb = 0;
  if (!session.errors.empty()) stb |= 4;
  if (session.eventStatus & session.eventStatusEnable) stb |= 32;
  if (stb & session.serviceRequestEnable) stb |= 64;
  return stb;
}

int registerValue(const Call& c) {
  c.expectParams(1);
  const double v = c.number(0);
  if (v < 0 || v > 255) throw Failure{err::DataOutOfRange, "0 to 255"};
  return static_cast<int>(v);
}

const Command kCommon[] = {
    {"*IDN", nullptr,
     [](Call& c) {
       c.expectParams(0);
       c.reply = std::string("QVX,QVX Scope (") + modelName(c.scope) + "),0," + QVX_VERSION;
     }},
    {"*RST",
     [](Call& c) {
       c.expectParams(0);
       resetSettings(c.scope);
       c.session.waveformSource = 0;
       c.session.waveformWord = false;
     },
     nullptr},
    {"*CLS",
     [](Call& c) {
       c.expectParams(0);
       c.session.errors.clear();
       c.session.eventStatus = 0;
     },
     nullptr},
    // Commands run one at a time and a capture ends before the next command starts, so
    // every operation is complete by the time these run.
    {"*OPC",
     [](Call& c) {
       c.expectParams(0);
       c.session.eventStatus |= esr::OperationComplete;
     },
     [](Call& c) {
       c.expectParams(0);
       c.reply = "1";
     }},
    {"*WAI", [](Call& c) { c.expectParams(0); }, nullptr},
    {"*ESR", nullptr,
     [](Call& c) {
       c.expectParams(0);
       c.reply = std::to_string(c.session.eventStatus);
       c.session.eventStatus = 0;
     }},
    {"*ESE", [](Call& c) { c.session.eventStatusEnable = registerValue(c); },
     [](Call& c) {
       c.expectParams(0);
       c.reply = std::to_string(c.session.eventStatusEnable);
     }},
    {"*SRE", [](Call& c) { c.session.serviceRequestEnable = registerValue(c); },
     [](Call& c) {
       c.expectParams(0);
       c.reply = std::to_string(c.session.serviceRequestEnable);
     }},
    {"*STB", nullptr,
     [](Call& c) {
       c.expectParams(0);
       c.reply = std::to_string(statusByte(c.session));
     }},
    {"SYSTem:ERRor", nullptr,
     [](Call& c) {
       c.expectParams(0);
       c.reply = c.session.errors.pop();
     }},
    {"SYSTem:ERRor:NEXT", nullptr,
     [](Call& c) {
       c.expectParams(0);
       c.reply = c.session.errors.pop();
     }},
    {"SYSTem:ERRor:COUNt", nullptr,
     [](Call& c) {
       c.expectParams(0);
       c.reply = std::to_string(c.session.errors.size());
     }},
    {"SYSTem:VERSion", nullptr,
     [](Call& c) {
       c.expectParams(0);
       c.reply = "1999.0";
     }},
};

}  // namespace

std::span<const Command> commonCommands() {
  return kCommon;
}

}  // namespace qvx::scpi
