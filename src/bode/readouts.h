#pragma once
#include <string>

#include "bode/response.h"

// What the Bode view reads off a response: the band edge, the point under the cursor,
// the time a sweep still needs, and frequencies as the readouts print them.
namespace qvx::bode {

// Where the gain of `channel` falls 3 dB below its peak, searched from the peak towards
// the end of the sweep where the gain is lower (upwards for a low-pass, downwards for a
// high-pass), interpolated in log frequency, with the phase there. Not found when the
// curve does not fall that far on that side.
Crossing bandEdge(const Response& r, int channel);

// The point whose frequency lies nearest to `frequency` on a log scale; -1 when there
// are no points.
int nearestPoint(const Response& r, double frequency);

// Seconds a sweep still needs when `done` of `planned` points took `elapsed` seconds,
// at the pace so far; negative while nothing is done yet.
double secondsLeft(double elapsed, int done, int planned);

// "995.3 Hz", "1.000 kHz", "200.0 kHz": four figures, for readings.
std::string hertzText(double f);
// "5 Hz", "20 kHz", "500 kHz": as short as the value allows, for settings.
std::string shortHertzText(double f);

}  // namespace qvx::bode
