#pragma once
#include <string>
#include <vector>

#include "control/wiring.h"
#include "display/render.h"
#include "rig.h"

namespace qvx::testing {

// A scope with the display handlers wired and the X-magnify bar set up as at start-up
// (narrowest window 512 points, 2000 points wide), showing a 4K capture of channel A.
struct DisplayRig : Rig {
  DisplayRig() {
    Scope& s = scope;
    wireDisplay(s);
    s.panel.HScroll2.Min = 256;
    s.SampleSizeIndex = 1;
    s.panel.HScroll2.setValue(1000);
  }
  Scope& s() { return scope; }
  PictureArea& screen() { return scope.panel.ScopeScreen; }
};

// The trace drawn in `colour` (a polyline or a point cloud), or null.
inline const DrawOp* traceIn(const PictureArea& pic, Colour colour) {
  for (const DrawOp& op : pic.ops)
    if ((op.kind == DrawOp::Kind::Polyline || op.kind == DrawOp::Kind::Points) &&
        op.colour == colour)
      return &op;
  return nullptr;
}

inline int traceCount(const PictureArea& pic) {
  int n = 0;
  for (const DrawOp& op : pic.ops)
    n += op.kind == DrawOp::Kind::Polyline || op.kind == DrawOp::Kind::Points;
  return n;
}

// Texts printed in `colour`, oldest first.
inline std::vector<std::string> textsIn(const PictureArea& pic, Colour colour) {
  std::vector<std::string> out;
  for (const DrawOp& op : pic.ops)
    if (op.kind == DrawOp::Kind::Text && op.colour == colour) out.push_back(op.text);
  return out;
}

inline const DrawOp* textOp(const PictureArea& pic, const std::string& text) {
  for (const DrawOp& op : pic.ops)
    if (op.kind == DrawOp::Kind::Text && op.text == text) return &op;
  return nullptr;
}

}  // namespace qvx::testing
