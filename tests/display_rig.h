#pragma once
#include <algorithm>
#include <string>
#include <vector>

#include "display/wiring.h"
#include "display/render.h"
#include "rig.h"

namespace qvx::testing {

// A scope with the display handlers wired and the X-magnify bar set up as at start-up
// (narrowest window 512 points, 2000 points wide), showing a 4K capture of channel A.
struct DisplayRig : Rig {
  DisplayRig() {
    wireDisplay(scope);
    scope.panel.HScroll2.Min = 256;
    scope.SampleSizeIndex = 1;
    scope.panel.HScroll2.setValue(1000);
  }
  Scope& s() { return scope; }
  PictureArea& screen() { return scope.panel.ScopeScreen; }
};

inline bool isTrace(const DrawOp& op) {
  return op.kind == DrawOp::Kind::Polyline || op.kind == DrawOp::Kind::Points;
}

// The trace drawn in `colour` (a polyline or a point cloud), or null.
inline const DrawOp* traceIn(const PictureArea& pic, Colour colour) {
  auto it = std::find_if(pic.ops.begin(), pic.ops.end(),
                         [&](const DrawOp& op) { return isTrace(op) && op.colour == colour; });
  return it == pic.ops.end() ? nullptr : &*it;
}

inline long traceCount(const PictureArea& pic) {
  return std::count_if(pic.ops.begin(), pic.ops.end(), isTrace);
}

// Texts printed in `colour`, oldest first.
inline std::vector<std::string> textsIn(const PictureArea& pic, Colour colour) {
  std::vector<std::string> out;
  for (const DrawOp& op : pic.ops)
    if (op.kind == DrawOp::Kind::Text && op.colour == colour) out.push_back(op.text);
  return out;
}

inline const DrawOp* textOp(const PictureArea& pic, const std::string& text) {
  auto it = std::find_if(pic.ops.begin(), pic.ops.end(), [&](const DrawOp& op) {
    return op.kind == DrawOp::Kind::Text && op.text == text;
  });
  return it == pic.ops.end() ? nullptr : &*it;
}

}  // namespace qvx::testing
