#include "control/wiring.h"

#include "acquisition/wiring.h"
#include "bode/view.h"
#include "control/extras.h"
#include "control/modes.h"
#include "control/run.h"
#include "control/shortcuts.h"
#include "control/startup.h"
#include "control/typed_numbers.h"
#include "counter/wiring.h"
#include "device/port_panel.h"
#include "display/cursor.h"
#include "display/wiring.h"
#include "files/calibration.h"
#include "files/file_panels.h"
#include "files/wiring.h"
#include "generator/generator.h"
#include "help/help.h"
#include "measure/panel.h"
#include "printing/print.h"

namespace qvx {

void installRunControl(Scope& s) {
  s.runControl.showMode = SMODEDISP;
  s.runControl.checkMode = SmodeCheck;
  s.runControl.go = GOMODE;
  s.runControl.measure = Markspace;
  s.runControl.customWaveForm = customWaveForm;
}

void wireHandlers(Scope& s) {
  installRunControl(s);
  wireControl(s);
  wireAcquisition(s);
  wireDisplay(s);
  wireGenerator(s);
  wireCounter(s);
  wireFiles(s);
  wirePrintMenu(s);
  wireHelpPanel(s);
  wireMeasurements(s);
  wireExtras(s);
  wireTypedNumbers(s);
  wireShortcuts(s);
  wireBode(s);
}

void wireControl(Scope& s) {
  Panel& p = s.panel;
  auto on = [&s](void (*handler)(Scope&)) { return [&s, handler] { handler(s); }; };

  p.GOBUTTON.onClick = on(GOBUTTON_Click);
  p.SmodeUP.onClick = on(SmodeUP_Click);
  p.SmodeDown.onClick = on(SmodeDown_Click);
  p.SCOPEMODE.onClick = on(SCOPEMODE_Click);

  p.Command17.onClick = on(Command17_Click);
  p.Command18.onClick = on(Command18_Click);
  p.Command8.onClick = on(Command8_Click);
  p.Command9.onClick = on(Command9_Click);
  p.Command19.onClick = on(Command19_Click);
  p.Command20.onClick = on(Command20_Click);
  p.Command21.onClick = on(Command21_Click);

  p.Command22.onClick = on(Command22_Click);
  p.Command1.onClick = on(Command1_Click);
  p.UtilButton.onClick = on(UtilButton_Click);

  p.SETUP.onClick = on(SETUP_Click);
  p.SETLPT1.onClick = on(SETLPT1_Click);
  p.SETLPT2.onClick = on(SETLPT2_Click);
  p.SETLPT3.onClick = on(SETLPT3_Click);
  p.CONFIGEXIT.onClick = on(CONFIGEXIT_Click);

  p.Timer1.onTimer = on(Timer1_Timer);
  p.Timer2.onTimer = on(Timer2_Timer);
}

}  // namespace qvx
