#pragma once
#include "core/scope.h"

namespace qvx {

// Printing the window or the signal display. Not built yet: the print panel does not
// open and nothing is printed.
void printscope(Scope& s);

}  // namespace qvx
