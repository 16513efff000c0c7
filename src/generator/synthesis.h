#pragma once
#include "core/scope.h"

namespace qvx {

// Waveform styles of the generator table.
namespace genstyle {
constexpr int Sine = 0, Triangle = 1, Ramp = 2, Square = 3, Custom = 4;
}
namespace genmode {
constexpr int Normal = 0, Sweep = 1, Custom = 2;
}

// A NORMAL-mode frequency fitted to a whole number of points per cycle: the point-rate
// step, the points per cycle of the fitted frequency, how many cycles the table holds
// and the frequency really produced.
struct FrequencyFit {
  int rateStep = 4;
  double pointsPerCycle = 0;
  int cycles = 20;
  double frequency = 0;
};
// `previousStep` stands when the frequency lies above every step's range.
FrequencyFit fitFrequency(double frequency, int previousStep, float rateMantissa);

// One row of the sweep table: start and end points per cycle, the divisor and bias of
// the shortening step.
struct SweepPlan {
  int startPoints = 400, endPoints = 200, divisor = 200;
  double bias = 0.95;
};
SweepPlan sweepPlan(int sweepShort, int sweepRatio);

// The output code of a built-in style at angle `theta` (degrees) for amplitude divisor
// `amp`; `highFrom` is the angle from which the square is high.
int styleCode(int style, double theta, int amp, double highFrom, double pi);

// Builds the output table from the generator settings (NORMAL and SWEEP), or hands
// over to the load panel (CUSTOM). The one entry point that rebuilds the table.
void GENUPDATEBUTTON_Click(Scope& s);

// Shorten the custom wave at the cursor: drop the points after it, or before it. At
// least ten points stay.
void CropCustomRight(const RenderState& render, const CursorState& cursor, GeneratorState& gen);
void CropCustomLeft(const RenderState& render, const CursorState& cursor, GeneratorState& gen);

}  // namespace qvx
