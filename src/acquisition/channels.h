#pragma once
#include <string>

#include "core/scope.h"

namespace qvx {

// Channel set-up and the front-end configuration.
void CHANA(Scope& s);
void CHANB(Scope& s);
void CHANE(Scope& s);
void CHANF(Scope& s);
void SETCHAB(Scope& s);
void setchabF(Scope& s);
void SCHAbutton_Click(Scope& s);
void SCHBbutton_Click(Scope& s);
void SCHEbutton_Click(Scope& s);
void SCHFbutton_Click(Scope& s);
void Command2_Click(Scope& s);
void Command7_Click(Scope& s);
void Command3_Click(Scope& s);
void Command6_Click(Scope& s);
void Command4_Click(Scope& s);
void Command5_Click(Scope& s);

// The front-end configuration byte for the current channel and trigger settings, as the
// run engine computes it at arming (`ChannelConfig`).
int channelConfigByte(const ChannelState& chan, const TriggerState& trig);

// The range readout for a range step (range + probe): "1.0V  ", " 10V  ", "100V  ".
std::string rangeReadout(int rangeStep);

inline constexpr const char* kProbeWarning =
    "DO NOT switch probe to X 1 unless the input voltage is less then 20 V";

}  // namespace qvx
