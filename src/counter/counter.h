#pragma once
#include <cstdint>
#include <string>

#include "core/scope.h"
#include "counter/panel.h"

namespace qvx {

// Frequency counter: control of the instrument's 30-bit counter over the port, and the
// counting loop that runs inside a COUNTER run and inside a GENERATOR run.

// The counting loop: measures, shows and restarts until RunFlag drops.
void FCntMain(Scope& s);
// Clears and arms the counter with the current source and start/stop control.
void FCntSetup(Scope& s);
// Reads count bits 23..0 into FCntValue, below the bits the status gave.
void FCntDataRead(Scope& s);
// Sends the trigger source, slope and level for the "Trig" input.
void FCntTrigLevelUpdate(Scope& s);
// Keeps the settings the measurement runs with, to notice changes from the panel.
void FCntStatUpdate(const TriggerState& trig, CaptureState& capture, CounterState& counter);
// The Reset / Start / Stop caption of FCntResetbutton.
void FCntResetCheck(Scope& s);
// Switch the counter panel on (its colours and buttons) or grey it.
void FcntON(Scope& s);
void FCntOFF(Scope& s);

// The counter control byte for function bits `function` (128 status, 96 / 64 / 32 a
// count byte, 0 idle) with the current source and start/stop control.
int counterControlByte(const CounterState& s, int function);

// FCntValue as the readout shows it: ten digits with leading zeros.
std::string countText(std::int32_t value);

// Readout notes: no reading of the current signal yet; the generator's output never
// rises through the comparator's level, staying below or above it.
inline constexpr const char* kCountNoReading = "----------";
inline constexpr const char* kCountBelowLevel = "Below Trig";
inline constexpr const char* kCountAboveLevel = "Above Trig";

// Whether the counter is set to count the generator's output (a GENERATOR run set it up
// through the output register, with the comparator as its input).
bool countsGeneratorOutput(const InstrumentState& s);

// Whether the generator's output, as the table plays it, rises through the trigger
// comparator's level (a point at or above it after one below it); else the note that
// says which side of the level it stays on.
const char* outputLevelNote(const InstrumentState& s);

// Readout backgrounds (0xBBGGRR).
inline constexpr Colour kCountIdle = 0xC0FFFF;
inline constexpr Colour kCountOff = 0xC0C0C0;
inline constexpr Colour kCountEndWhite = 0xFFFFFF;
inline constexpr Colour kCountEndOrange = 0x0080FF;
inline constexpr Colour kCountOverLimit = 0x0000FF;

}  // namespace qvx
