#pragma once
#include <string>

namespace qvx::app {

// The manual page qvxscope(1) in roff, its OPTIONS made from programOptions() as --help is,
// so that the two never disagree. The package build writes it with `qvxscope --man`.
std::string manPage();

// `text` as roff text: backslashes printed as such, the dashes of options as minus signs,
// and no line taken for a request.
std::string roffText(const std::string& text);

}  // namespace qvx::app
