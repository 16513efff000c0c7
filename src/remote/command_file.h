#pragma once
#include "core/command_file_watch.h"
#include "core/scope.h"

namespace qvx {

// One poll of the remote command file (prefix + "com.txt"), run by Timer2: when the file
// is there, wait 50 ms for its writer to finish, apply its items in file order, refresh
// what they changed, delete the file and, after EXECUTE=1, hand one Single run to the run
// engine, which writes the data files.
//
// A command file that cannot be read or removed would otherwise be run again on every
// tick; it is remembered by its size, times and permissions, skipped until any of them
// changes (so chmod alone makes it new), and the reason is said once on stderr.
void RemoteCommand(Scope& s);

}  // namespace qvx
