#pragma once

namespace qvx {

// The help panel (help/), a request-flag panel like the file panels.
struct HelpState {
  int HelpTopicReq = 0;    // help panel: topic 1..12 asked for, 0 none
  int HelpExitReq = 0;     // help panel: its EXIT was pressed
  int HelpTopicShown = 0;  // help panel: the topic on show, 0 while closed
};

}  // namespace qvx
