#pragma once
#include <string>

#include "core/scope.h"

// Pieces of the signal display shared by the renderer, the display settings and the
// cursor readout.
namespace qvx::display {

constexpr int kScope = 0, kGenerator = 1, kScopeGen = 2, kCounter = 3, kFft = 4;

constexpr Colour kGridColour = 0x808080;
constexpr Colour kScreenBack = 0xE0E0E0;
constexpr Colour kTimeLabelColour = 0x404040;
constexpr Colour kFftLabelColour = 0x202020;
constexpr Colour kUnitColour = 0x008000;
constexpr Colour kDefaultPen = 0x0000FF;

inline bool mathSelected(const Scope& s) {
  return s.SelAplusB == 1 || s.SelAminusB == 1;
}

// Grid with its time or frequency labels; W is the screen width in points, V the
// value of one division and r the rate index of the data.
void drawGrid(Scope& s, double W, double V, int r);
// The per-channel vertical labels and the unit caption.
void drawAxisLabels(Scope& s, double W, const std::string& unit);
// The stretch of the capture the window shows, on the buffer bar.
void drawBufferBar(Scope& s);
// Every selected trace, in drawing order.
void drawTraces(Scope& s);

// The last `width` characters of blanks followed by `text`: right alignment in a field.
std::string rightAligned(const std::string& text, std::size_t width);

}  // namespace qvx::display
