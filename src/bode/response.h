#pragma once
#include <array>
#include <complex>
#include <string>
#include <vector>

// A frequency response: gain and phase of channels A and B against the generator's own
// output, at a list of frequencies. Pure data and arithmetic, shared by the measurement,
// the view and the CSV file.
namespace qvx::bode {

// What to measure: START to STOP Hz, POINTS per decade, stepped or in a single pass.
struct Plan {
  double start = 20, stop = 200000;
  int perDecade = 10;
  bool single = false;
};
// The generator's frequencies a plan may span.
inline constexpr double kLowestHz = 5, kHighestHz = 500000;
inline constexpr int kMostPerDecade = 100;
// "START:STOP:POINTS_PER_DECADE[:single]". Throws std::invalid_argument naming the field
// that is wrong.
Plan parsePlan(const std::string& text);
// START, START x 10^(1/N), ... up to STOP (STOP itself when the steps land on it).
std::vector<double> stepFrequencies(const Plan& plan);

struct Reading {
  bool measured = false;
  double gainDb = 0, phaseDeg = 0;
  double level = 0;  // the answer's amplitude, as a share of the range's full scale
};
struct Point {
  double frequency = 0;
  std::array<Reading, 2> channel;  // A, B
};
struct Response {
  std::vector<Point> points;
  bool channelB = false;
  // Of a stepped sweep: how many points it planned, and whether STOP cut it short.
  int planned = 0;
  bool stopped = false;
};

// The complex amplitude of the sine of `cyclesPerSample` in x[0..count): a single bin of
// the Fourier transform, exact for a whole number of cycles.
std::complex<double> toneOf(const double* x, std::size_t count, double cyclesPerSample);
// Gain in dB and phase in degrees (-180, 180] of answer over stimulus.
Reading readingOf(std::complex<double> answer, std::complex<double> stimulus);
// Keeps each channel's phase continuous from point to point (no jump of 360 degrees).
void unwrapPhases(Response& r);

// Where the gain of `channel` first crosses -3 dB, interpolated in log frequency between
// the points on either side, with the phase there.
struct Crossing {
  bool found = false;
  double frequency = 0, phaseDeg = 0;
};
Crossing minus3dB(const Response& r, int channel);

// "frequency Hz,A gain dB,A phase deg[,B gain dB,B phase deg]" and one line a point;
// a channel not measured at a point leaves its fields empty.
std::string csvText(const Response& r);

}  // namespace qvx::bode
