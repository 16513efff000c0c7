#pragma once
#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>

namespace qvx {

// Every file the program opens goes through these. A FIFO, a device or a folder under a
// file's name would otherwise hold the program in open() or read() until some other
// program answers; here the name is opened without waiting and the opened file itself is
// checked, so nothing but a plain file is ever read or written.

// Opens `path` like std::fopen with "rb" (read), "ab" (append, created when missing) or
// "wb" (write, created or emptied). Returns nullptr, with `why` set when given, for a
// name that cannot be opened or that is not a plain file.
std::FILE* openPlainFile(const std::string& path, const char* mode, std::string* why = nullptr);

// Reads at most `limit` bytes from the start of a plain file; nothing, with `why` set
// when given, when it cannot be opened, is not a plain file, or fails while reading. A
// file longer than the limit gives exactly `limit` bytes, so the caller knows it is at
// least that long without ever holding more.
std::optional<std::string> readPlainFile(const std::string& path, std::size_t limit,
                                         std::string* why = nullptr);

}  // namespace qvx
