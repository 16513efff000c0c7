#pragma once
#include <array>

#include "bode/response.h"
#include "panel/picture.h"

namespace qvx::bode {

// The picture of a response: gain in dB above, phase in degrees below, both against
// log frequency from the plan's start to its stop. Decade lines are labelled with their
// frequency, the scales fit the measured values in steps of 10 dB and 45 degrees, each
// channel is drawn in its colour, and points not measured leave gaps. The cursor, when
// it stands on a point, is a dotted line with a mark on each trace.
struct PlotColours {
  std::array<Colour, 2> channel;  // A, B
};
void drawPlot(PictureArea& p, const Plan& plan, const Response& r, int cursor,
              const PlotColours& colours);

// The frequency at `x`, in the picture's units, on the plan's log axis.
double frequencyAt(const PictureArea& p, const Plan& plan, double x);

}  // namespace qvx::bode
