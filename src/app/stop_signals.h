#pragma once

namespace qvx::app {

// Calls `handler` on SIGINT and SIGTERM. The handler is installed without SA_RESTART, so
// a system call the program is waiting in returns at the signal instead of being
// started again, and the program reaches the place where it sees the request.
void onStopSignals(void (*handler)(int));

}  // namespace qvx::app
