#pragma once
#include <string>

#include "core/scope.h"

namespace qvx {

// What tells one file from another under the same name: a rewritten file differs in its
// size or its time of writing, a replaced one in its inode, and one whose permissions
// changed (made readable with chmod, say) in its mode and its status-change time. Empty
// when the file is not there.
std::string fileStamp(const std::string& path);

// Whether a command file is waiting to be run: present, and not the one being skipped.
// The capture, generator and counter waits end their run when one arrives; they sit
// below the command file's own poll, so the test lives here where all of them reach it.
bool commandFileWaiting(Scope& s);

}  // namespace qvx
