#pragma once
#include <functional>
#include <string>

#include "bode/response.h"
#include "core/scope.h"

namespace qvx::bode {

// Called after every pass with what has been measured so far.
using Progress = std::function<void(const Response&)>;

// Runs one measurement on the instrument with SCOPE+GEN passes and fills `out`: for a
// stepped plan one pass of a sine per frequency, for a single plan one pass of a
// multi-tone wave per rate it needs. Channel A is always measured, B when it is on.
// STOP (RunFlag cleared) ends it after the pass under way, keeping the points measured.
// The generator's settings and table are put back afterwards. Returns an empty text,
// or why nothing could be measured.
std::string measure(Scope& s, const Plan& plan, Response& out, const Progress& progress = {});

}  // namespace qvx::bode
