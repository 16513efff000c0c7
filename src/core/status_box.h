#pragma once
#include <string>

#include "core/scope.h"

namespace qvx {

// Shows two lines in the status box over the signal display (`Trigwait`): what a long
// operation is doing and how to end it, or why a run was refused.
void showStatus(Scope& s, const std::string& line1, const std::string& line2);

}  // namespace qvx
