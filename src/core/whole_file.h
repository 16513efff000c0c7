#pragma once
#include <string>
#include <string_view>

namespace qvx {

// Writes `bytes` to the file `name`, replacing it, so that the name only ever refers to
// a complete file: another program waiting for the file never sees half of it. The
// bytes go to a temporary file in the same folder, which is then renamed into place.
// A failure is reported on stderr, leaves any earlier file of that name untouched, and
// returns false.
bool writeWholeFile(const std::string& name, std::string_view bytes);

}  // namespace qvx
