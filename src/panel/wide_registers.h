#pragma once

namespace qvx {

// Library code built for wide vector registers (Qt's painting, parts of the C library)
// can return with their upper halves in use; until that state is cleared, some
// processors make every ordinary vector instruction wait on its register's previous
// value, which makes tight loops over a whole trace several times slower. Call this
// before such a loop; it does nothing where the processor has no wide registers.
void clearWideRegisters();

}  // namespace qvx
