#pragma once
#include <string>
#include <string_view>

#include "core/scope.h"

namespace qvx {

// Signal files (.qvx: "QVX04", rate mantissa, rate, ranges, four bytes a sample of A to
// D), FFT files (.fft: "FFT04", the spectra of A and B) and their CSV exports. Each
// procedure works on FilePath; savers set DataFilesReady to 1 once the file is whole.
void chabsave(Scope& s);
void fftabsave(Scope& s);
void exportab(Scope& s);  // ExportKind 1: samples in volts; otherwise the spectra
void chabload(Scope& s);
void FFTabload(Scope& s);

// The bytes the savers write, for the buffers and settings as they stand.
std::string signalFileBytes(const Scope& s);
std::string fftFileBytes(const Scope& s);
std::string csvExportText(const Scope& s);

// The loaders after the file has been read: `bytes` is the start of the file, at most
// as much as the loader reads. They check, show the message of a refused file and
// apply an accepted one; true when it was applied.
bool applySignalFile(Scope& s, std::string_view bytes);
bool applyFftFile(Scope& s, std::string_view bytes);

// The most a loader reads of a file: the longest file it accepts.
inline constexpr std::size_t kSignalReadLimit = 9 + 4 * 65536;

}  // namespace qvx
