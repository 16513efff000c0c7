#pragma once

#include "core/scope.h"

namespace qvx {

// The remote-command poll (`Timer2`) runs only while the program is otherwise idle: no
// pop-up panel open, no run under way, no print being made. A panel, a run or a print
// turns it off while it works; when it is done it asks here to turn the poll back on,
// which happens only when nothing else still holds the window. So GO pressed while the
// UTILS panel is open leaves the poll off until the panel closes.
bool remotePollHeld(const Scope& s);
void holdRemotePoll(Scope& s);
void resumeRemotePoll(Scope& s);

}  // namespace qvx
