#pragma once
#include <string>

#include "core/state.h"

namespace qvx {

// The text of the measurement file of a remote run: for each channel whose data file is
// written (A, B, C, D in that order), one NAME=value line per measurement, the unit in the
// name ("A_VPP_V=8.004", "D_FREQ_HZ=2000.000"); a digital channel has its frequency,
// period and duty cycle only. A value that cannot be measured reads "NaN", followed by
// "; " and the reason, the comment form of the command file. In FFT mode the analogue
// channels give their largest spectral peaks instead ("A_PEAK1_HZ", "A_PEAK1_PCT").
// Lines end in CR LF, as the counter's result file does.
std::string measurementFileText(const InstrumentState& s);

// Writes prefix + "Mdata.txt" whole, when the command file asked for it with MDATA=1;
// a write failure is reported on stderr. Returns false when the file could not be written.
bool writeMeasurementFile(const InstrumentState& s);

}  // namespace qvx
