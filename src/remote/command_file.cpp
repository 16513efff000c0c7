#include "remote/command_file.h"

namespace qvx {

void RemotePoll(Scope&) {}

}  // namespace qvx
