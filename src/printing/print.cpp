#include "printing/print.h"

namespace qvx {

void printscope(Scope&) {}

}  // namespace qvx
