#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace qvx {

// The port file holds the printer-port number, written as the panel prints numbers:
// blank, digits, blank, CR LF.
inline constexpr const char* kPortFileName = "QVXport.cfg";

// The first number in the file, rounded to a whole number (halves to even) and held to
// the 16-bit range; nothing when the file cannot be read or does not start with a number.
std::optional<int> readPortFile(const std::string& path);

// The same number from the file's bytes (or their start); touches nothing.
std::optional<int> decodePortFile(std::string_view bytes);

// The file's text for `port`, as the panel prints the number.
std::string portFileText(int port);

// Replaces the file with `port` in the print form. Failures are silent: the panel has
// nowhere to report them and the port still works for this session.
void writePortFile(const std::string& path, int port);

}  // namespace qvx
