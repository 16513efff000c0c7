#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "core/scope.h"

namespace qvx {

// The items of a command file, read the way list input reads them: an item ends at a
// comma or at the end of a line, blanks before an item are skipped, and an item in double
// quotes is taken whole, commas included (whatever follows the closing quote up to the
// next comma or line end is dropped). Line ends may be LF, CR LF or CR. The items are
// views into `text`, valid while it is.
std::vector<std::string_view> readItems(std::string_view text);

// Decodes the item held in `RemoteKey` into `RemoteKey` (everything before the first
// "=", upper case, not trimmed) and `RemoteValue` (between "=" and the first ";", blanks
// trimmed, upper case). An item without a key of at least two characters or without a
// value becomes the key "zzz", which no keyword matches.
void Remotereadcom(RemoteState& s);

}  // namespace qvx
