#pragma once
#include <string>
#include <utility>
#include <vector>

#include "bode/response.h"
#include "panel/widget.h"

namespace qvx::bode {

// What the Bode view holds between events: the plan its controls set, the response of
// the last sweep, where its cursor stands and how the sweep is going.
struct View {
  Plan plan;
  Response response;
  bool open = false;
  bool running = false;
  int cursor = -1;          // index into response.points; -1 before the first point
  double startedAt = 0;     // host time the sweep under way began
  double secondsLeft = -1;  // estimate after the last pass; negative when none
  std::string message;      // why the last sweep gave nothing, or could not start
  std::string saveFolder;   // the save pop-up's folder (empty: the working folder)
  std::vector<std::string> savePlaces;
  // The controls a sweep disables, each with the enabled state to put back.
  std::vector<std::pair<Widget*, bool>> locked;
};

}  // namespace qvx::bode
