#pragma once
#include <string>
#include <string_view>

#include "core/scope.h"

namespace qvx {

// Panel profiles (.dpf): "DPF," and 94 settings, each followed by a comma, in one line.
// The reader restores the record in three groups (display to run flag, magnifications
// to repeat mode, digital channels to counter); a shorter file restores its first
// groups. A file with any value outside its field's range is refused whole.
void profilesave(Scope& s);
void profileload(Scope& s);

std::string profileText(const Scope& s);
bool applyProfile(Scope& s, std::string_view text);

inline constexpr std::size_t kProfileReadLimit = 64 * 1024;
inline constexpr const char* kNotAProfile = "Not a valid QVX profile file";

}  // namespace qvx
