#include "generator/custom_wave.h"

namespace qvx {

bool loadCustomWave(Scope&) {
  return false;
}

}  // namespace qvx
