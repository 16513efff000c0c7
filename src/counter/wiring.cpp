#include "counter/wiring.h"

#include "counter/panel.h"
#include "counter/recorder.h"

namespace qvx {

void wireCounter(Scope& s) {
  Panel& p = s.panel;
  auto on = [&s](void (*handler)(Scope&)) { return [&s, handler] { handler(s); }; };
  p.FCntModebutton.onClick = on(FCntModebutton_Click);
  p.FCntSourcebutton.onClick = on(FCntSourcebutton_Click);
  p.FCntStSpbutton.onClick = on(FCntStSpbutton_Click);
  p.FCntRepeatButton.onClick = on(FCntRepeatButton_Click);
  p.FCntResetbutton.onClick = on(FCntResetbutton_Click);
  p.FrecDrive.onClick = on(FrecDrive_Click);
  p.FrecDirList.onClick = on(FrecDirList_Click);
  p.FrecFileList.onClick = on(FrecFileList_Click);
  p.Command32.onClick = on(Command32_Click);
}

}  // namespace qvx
