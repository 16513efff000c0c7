#pragma once
#include "core/scope.h"

namespace qvx {

// Shows the load panel in its custom-wave form, where the user loads a wave file,
// copies a captured channel or keeps the present wave, and tells whether the table now
// holds an accepted custom wave (true) or the panel was left without one (false).
//
// The load panel belongs to the files subsystem. This is the one place the generator
// reaches it; until the panel is joined here nothing is loaded and the table stays.
bool loadCustomWave(Scope& s);

}  // namespace qvx
