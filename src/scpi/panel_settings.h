#pragma once
#include "core/scope.h"

namespace qvx::scpi {

// The settings that have no command-file keyword, made by pressing their panel buttons
// (through the buttons' own handlers) until the setting is as asked.

// Channel 0..3 (A..D) shown or not: its ON/OFF button, with the mode display it updates.
void setChannelShown(Scope& s, int channel, bool on);
bool channelShown(const Scope& s, int channel);

// The square wave's duty cycle: DCUP / DCDOWN, 2 % a press within 2..98 %, until it is
// within one percent of `percent` (the buttons reach only even values).
void setDuty(Scope& s, double percent);

// The counter's function, 0 frequency or 1 count: its mode button when it differs.
void setCounterFunction(Scope& s, int function);

}  // namespace qvx::scpi
