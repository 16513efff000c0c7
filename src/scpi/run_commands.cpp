#include "scpi/run_commands.h"

#include "scpi/call.h"
#include "scpi/error_queue.h"

namespace qvx::scpi {

void runSingle(Scope& s) {
  s.RepeatMode = 0;
  s.RunFlag = 1;
  if (s.runControl.go) s.runControl.go(s);
  if (s.ModelCode == 0) throw Failure{err::HardwareMissing, "no instrument answered"};
}

}  // namespace qvx::scpi
