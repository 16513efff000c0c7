#pragma once
#include <fstream>
#include <memory>

#include "acquisition/timebase.h"
#include "control/startup.h"
#include "rig.h"
#include "ui/main_window.h"

namespace qvx::bench {

// The window started on the simulated instrument in Repeat at 2K points and rate step
// `rateIndex`, opened at `scale`; GO is left to the benchmark.
struct RepeatingWindow {
  RepeatingWindow(double scale, int rateIndex) {
    std::ofstream("QVXport.cfg") << "1\n";
    window = std::make_unique<ui::MainWindow>(rig.scope.panel);
    window->setOpeningScale(scale);
    Scope& s = rig.scope;
    Form_Load(s);
    Form_Activate(s);
    s.RepeatMode = 1;
    s.SampleSizeIndex = 0;
    s.SampleRateIndex = rateIndex;
    DSAMPLE(s);
    window->sync();
  }
  testing::TempFolder folder;
  testing::Rig rig;
  std::unique_ptr<ui::MainWindow> window;
};

}  // namespace qvx::bench
