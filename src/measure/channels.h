#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "core/state.h"
#include "measure/measure.h"

namespace qvx::measure {

// Channels A..D as 0..3.
constexpr std::array<char, 4> kChannelNames = {'A', 'B', 'C', 'D'};

// The range steps and rate indexes a capture was taken with.
struct TakenWith {
  int rangeA = 0, rangeB = 0, rateA = 0, rateB = 0;
};
// Those of the data on the display (the snapshot of the last shown capture).
TakenWith shownData(const InstrumentState& s);
// Those of the last run, shown or not (a remote run that leaves the display as it was).
TakenWith lastRun(const InstrumentState& s);

// Points of the capture the buffers hold: what the data files of a run hold, or in
// SCOPE+GEN the points of the pass.
std::int32_t capturedPoints(const InstrumentState& s);
// Points a second the channel's data were taken at.
double sampleRate(const InstrumentState& s, const TakenWith& w, int channel);
// The channel's capture as the measurements read it (the time samples, even in FFT mode).
Trace traceOf(const InstrumentState& s, const TakenWith& w, int channel);
// The spectrum's largest peaks of channel A (0) or B (1) in FFT mode.
std::vector<Peak> spectrumPeaks(const InstrumentState& s, const TakenWith& w, int channel,
                                int count);
// Volts at buffer index `index` of an analogue channel, in its range and probe.
double voltsAt(const InstrumentState& s, int channel, std::int32_t index);

}  // namespace qvx::measure
