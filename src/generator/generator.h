#pragma once
#include "core/scope.h"
#include "generator/panel.h"
#include "generator/stepping.h"
#include "generator/synthesis.h"
#include "generator/upload.h"

namespace qvx {

// Signal generator: table synthesis, upload and output, the SCOPE+GEN pass and the
// generator panel. Connects the panel's generator buttons to their handlers.
void wireGenerator(Scope& s);

}  // namespace qvx
