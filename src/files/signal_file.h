#pragma once
#include <cstdint>
#include <optional>
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

// A signal or FFT file as decoded, before anything of it reaches the instrument state:
// the header's settings and the samples, which stay in the file's bytes (four a point)
// and so live only as long as those.
struct DecodedCapture {
  bool digital = true;  // a signal file, whose high bytes also carry C and D
  int mantissaCode = 2, rate = 0, rangeA = 0, rangeB = 0;
  std::int32_t points = 0;
  std::string_view samples;

  [[gnu::always_inline]] int codeA(std::int32_t i) const {
    return (byte(i, 0) & 15) * 256 + byte(i, 1);
  }
  [[gnu::always_inline]] int codeB(std::int32_t i) const {
    return (byte(i, 2) & 15) * 256 + byte(i, 3);
  }
  [[gnu::always_inline]] bool highC(std::int32_t i) const {
    return digital && (byte(i, 0) & 16) != 0;
  }
  [[gnu::always_inline]] bool highD(std::int32_t i) const {
    return digital && (byte(i, 2) & 16) != 0;
  }

 private:
  [[gnu::always_inline]] int byte(std::int32_t i, int k) const {
    return reinterpret_cast<const unsigned char*>(
        samples.data())[4 * static_cast<std::size_t>(i) + k];
  }
};

// The decoders: `bytes` is the start of the file, at most as much as the loader reads.
// Nothing when the file is refused. They touch no state.
std::optional<DecodedCapture> decodeSignalFile(std::string_view bytes);
std::optional<DecodedCapture> decodeFftFile(std::string_view bytes);

// The bytes a save writes for the decoded content.
std::string encodeCapture(const DecodedCapture& capture);

// Puts a decoded capture into the buffers and settings as the load panel does.
void applyCapture(Scope& s, const DecodedCapture& capture);

// The loaders after the file has been read: decode, show the message of a refused file
// and apply an accepted one; true when it was applied.
bool applySignalFile(Scope& s, std::string_view bytes);
bool applyFftFile(Scope& s, std::string_view bytes);

// The most a loader reads of a file: the longest file it accepts.
inline constexpr std::size_t kSignalReadLimit = 9 + 4 * 65536;

}  // namespace qvx
