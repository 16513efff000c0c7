#pragma once
#include "core/scope.h"

namespace qvx {

// The generator panel: its redraw and its buttons.
void GENDISP(Scope& s);

// The sweep's start step decides its first-cycle length, its point rate and its start
// frequency; a first cycle of 200 points has no X20 ratio, which falls back to X10.
void deriveSweepSettings(const DeviceState& dev, GeneratorState& gen);

// CUSTOM mode: the output table from the custom wave at the chosen magnification.
void applyCustomMagnification(GeneratorState& s);

// Texts the panel shows, for the settings given.
std::string customRateText(int customRate, float rateMantissa);
const char* customMagText(int customMag);

// The frequency kept within 5..500000 Hz, as every frequency step keeps it.
double frequencyInRange(double hz);
// A frequency or duty cycle given as a number (the typed readouts): whole Hz or whole %,
// kept in range as the step buttons keep it; the table is marked out of date and the
// panel redrawn, as after a press of those buttons. NORMAL mode only shows them.
void setGeneratorFrequency(Scope& s, double hz);
void setGeneratorDuty(Scope& s, double percent);

void GENMODEBUTTON_MouseDown(Scope& s);
void GENSTYLEBUTTON_MouseDown(Scope& s);
void GENAMPBUTTON_Click(Scope& s);
void SWRATIOBUTTON_Click(Scope& s);
void GENLFREQBUTTONN_MouseDown(Scope& s);
void GENLFREQBUTTONP_MouseDown(Scope& s);
void GENSFREQBUTTONN_MouseDown(Scope& s);
void GENSFREQBUTTONP_MouseDown(Scope& s);
void GENLFREQBUTTONN_MouseUp(Scope& s);
void GENLFREQBUTTONP_MouseUp(Scope& s);
void GENSFREQBUTTONN_MouseUp(Scope& s);
void GENSFREQBUTTONP_MouseUp(Scope& s);
void DCUP_Click(Scope& s);
void DCDOWN_Click(Scope& s);

}  // namespace qvx
