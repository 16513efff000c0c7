#pragma once
#include "core/scope.h"

namespace qvx {

// One poll of the remote command file, run by Timer2 while it is enabled. The command
// keywords are not handled yet: a poll looks for nothing and changes nothing.
void RemotePoll(Scope& s);

}  // namespace qvx
