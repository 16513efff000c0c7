#pragma once
#include "core/scope.h"

namespace qvx::scpi {

// *RST: every setting the server can make back to the value the program starts with,
// each made the way its command makes it (command-file keywords and panel buttons).
void resetSettings(Scope& s);

}  // namespace qvx::scpi
