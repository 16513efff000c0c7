#pragma once
#include <string>
#include <string_view>

namespace qvx {

// Replaces the file at `path` with `bytes` so that the name only ever refers to a
// complete file: the bytes go to a temporary file in the same folder, are flushed to
// the disk, and the temporary file is then renamed over the old one. On any failure
// the temporary file is removed, the old file is left exactly as it was, and false is
// returned.
bool replaceFileWhole(const std::string& path, std::string_view bytes);

}  // namespace qvx
