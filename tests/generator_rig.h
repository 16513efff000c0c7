#pragma once
#include "started.h"

namespace qvx::testing {

// The started program with `mode` then chosen with the mode buttons, as a user would.
struct GeneratorRig : Started {
  explicit GeneratorRig(sim::Config config = {}, int mode = 0) : Started(config) {
    for (int i = 0; i < mode; ++i) p.SmodeUP.click();
    rig.port.log.clear();
    rig.host.sleeps.clear();
  }
};

}  // namespace qvx::testing
