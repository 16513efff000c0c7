#include "core/remote_poll.h"

namespace qvx {

bool remotePollHeld(const Scope& s) {
  const Panel& p = s.panel;
  for (const PictureArea* panel : {&p.UtilBox, &p.fileloadwindow, &p.filesavewindow, &p.printwindow,
                                   &p.helpwindow, &p.CONFIGWINDOW, &p.Filesavefrec})
    if (panel->visible) return true;
  return s.RunActive == 1 || s.PrintActive == 1;
}

void holdRemotePoll(Scope& s) {
  s.panel.Timer2.setEnabled(false);
}

// Start-up gives the poll its interval as its last step; until then nothing turns it on.
void resumeRemotePoll(Scope& s) {
  if (s.panel.Timer2.interval() <= 0 || remotePollHeld(s)) return;
  s.panel.Timer2.setEnabled(true);
}

}  // namespace qvx
