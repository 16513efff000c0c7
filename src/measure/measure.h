#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qvx::measure {

// One measured quantity: a number, or why there is none.
struct Reading {
  double value = 0;
  std::string why;  // empty when the value was measured
  bool ok() const { return why.empty(); }
};

// Everything measured on one captured channel, in volts, hertz, seconds and percent.
struct WaveReadings {
  Reading vpp, max, min, mean, rms, acRms, freq, period, duty, rise, fall;
};

// One channel's capture as the buffers hold it: codes with `zeroCode` as 0 V and
// `voltsPerCode` volts a code, taken at `sampleRate` points a second. A digital channel
// holds two codes only (low and high); it has no voltages or edge times to measure.
struct Trace {
  std::span<const std::int16_t> codes;
  double zeroCode = 2048;
  double voltsPerCode = 1;
  double sampleRate = 1;
  bool digital = false;
};

// Measures a capture. Levels are taken at 10, 50 and 90 % between the lowest and the
// highest point; an edge counts only when it crosses from below 10 % to above 90 % (or
// back), so noise near a level does not count as edges. Frequency and period come from
// the first and last edge of the same direction, mean and RMS from the whole cycles
// between them (the whole capture when there is less than one cycle). A capture that
// touches the converter's ends is clipped: its levels and edge times are not measured.
WaveReadings measureWave(const Trace& trace);

// The largest local maxima of a spectrum (points 1 .. size-1 of `magnitudes`, 0..4095
// with 4095 the largest point), strongest first, at most `count`, none below 1 % of
// the largest point. Level in percent of the
// largest point, frequency = index x `hertzPerPoint`.
struct Peak {
  double frequency = 0;
  double level = 0;
};
std::vector<Peak> largestPeaks(std::span<const std::int16_t> magnitudes, double hertzPerPoint,
                               int count);

// The quantities of WaveReadings in the order they are shown and written, with their
// caption, the name and unit a measurement file uses, and whether a digital channel has them.
struct Quantity {
  const char* caption;
  const char* fileName;
  const char* unit;      // shown, with an SI prefix in front
  const char* fileUnit;  // in the file's names, without prefix
  Reading WaveReadings::*reading;
  bool digitalToo;
};
std::span<const Quantity> quantities();

}  // namespace qvx::measure
