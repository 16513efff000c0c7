#pragma once
#include "core/scope.h"

namespace qvx {

// Writes the data files of a remote run for every channel whose WriteData flag is set:
// prefix + "Adata.dat", "Bdata.dat" (two bytes a point: high nibble, low byte),
// "cdata.dat", "ddata.dat" (one byte a point: 1 high, 0 low).
//
// Another program waits for these files, so it must never see half of one: each is
// written under a temporary name in the same folder and renamed into place. A write
// error abandons the remaining files of that run and is reported on stderr.
// Returns false when a file could not be written.
bool writeDataFiles(const TimebaseState& timebase, const SampleBuffers& bufs, RemoteState& remote);

}  // namespace qvx
