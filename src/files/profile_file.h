#pragma once
#include <array>
#include <optional>
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

// The fields of the record a profile decodes to: the first `count` of the file's order
// (the whole groups it holds), each already checked against its range.
struct DecodedProfile {
  std::size_t count = 0;
  std::array<double, 94> values{};
};

// Nothing when the text is refused; touches no state.
std::optional<DecodedProfile> decodeProfile(std::string_view text);

// Puts the decoded fields into the settings; no panel is redrawn.
void applyProfileFields(InstrumentState& s, const DecodedProfile& profile);

std::string profileText(const InstrumentState& s);

// The loader after the file has been read: decode, show the message of a refused file,
// apply an accepted one; true when it was applied.
bool applyProfile(Scope& s, std::string_view text);

inline constexpr std::size_t kProfileReadLimit = 64 * 1024;
inline constexpr const char* kNotAProfile = "Not a valid QVX profile file";

}  // namespace qvx
