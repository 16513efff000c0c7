#include "files/signal_file.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "acquisition/timebase.h"
#include "core/plain_file.h"
#include "files/file_text.h"
#include "files/safe_write.h"
#include "panel/numeric.h"

namespace qvx {

namespace {

constexpr std::size_t kHeader = 9;

struct FileKind {
  const char* magic;
  std::size_t minLength, maxLength;  // the length L the sample count is taken from
  bool digital;                      // carries the C and D bits
  const char* refused;
};
constexpr FileKind kSignal{"QVX04", 8198, 262150, true, "Not a valid QVX signal file"};
constexpr FileKind kFft{"FFT04", 2056, 262152, false, "Not a valid FFT signal file"};

std::int32_t pointsToSave(const TimebaseState& s) {
  const std::int32_t size = std::clamp<std::int32_t>(s.SampleSizeIndex, 0, 5);
  return std::min<std::int32_t>(2 * s.ScrollUnit * (1 << size), 65536);
}

char digit(int v, int lo, int hi) {
  return static_cast<char>('0' + std::clamp(v, lo, hi));
}

// The file's bytes: the header, then `points` samples of `sample(i, out)`.
template <class Sample>
std::string fileBytes(const char* magic, char mantissa, int rate, int rangeA, int rangeB,
                      std::int32_t points, Sample sample) {
  std::string out;
  out.resize(kHeader + 4 * static_cast<std::size_t>(points));
  std::copy_n(magic, 5, out.begin());
  out[5] = mantissa;
  out[6] = digit(rate, 0, 4);
  out[7] = digit(rangeA, 0, 2);
  out[8] = digit(rangeB, 0, 2);
  char* p = out.data() + kHeader;
  for (std::int32_t i = 0; i < points; ++i, p += 4) sample(i, p);
  return out;
}

// One sample's four bytes: A and B codes, high byte first, C and D in bit 4 of the
// high bytes.
void putSample(char* p, int a, int b, bool highC, bool highD) {
  p[0] = static_cast<char>(((a & 0xF00) >> 8) + (highC ? 16 : 0));
  p[1] = static_cast<char>(a & 0xFF);
  p[2] = static_cast<char>(((b & 0xF00) >> 8) + (highD ? 16 : 0));
  p[3] = static_cast<char>(b & 0xFF);
}

std::string fileBytes(const Scope& s, const char* magic, bool digital) {
  return fileBytes(magic, s.RateMantissa > 1.25f ? '3' : '2', s.DataRateIndex, s.DataRangeA,
                   s.DataRangeB, pointsToSave(s), [&](std::int32_t i, char* p) {
                     putSample(p, s.BufA[i], s.BufB[i], digital && s.BufC[i] >= 2049,
                               digital && s.BufD[i] >= 2049);
                   });
}

void save(Scope& s, const std::string& bytes) {
  s.DataFilesReady = 0;
  if (replaceFileWhole(s.FilePath, bytes))
    s.DataFilesReady = 1;
  else
    helpMessage(s, kUnableToSave);
}

// A header character read as a number: its digit, or 0 for anything else.
int digitValue(char c) {
  return c >= '0' && c <= '9' ? c - '0' : 0;
}

int sizeIndexFor(std::int32_t n, std::int32_t smallest) {
  for (int k = 0; k <= 5; ++k)
    if (n == smallest << k) return k;
  return -1;
}

std::optional<DecodedCapture> decode(std::string_view bytes, const FileKind& kind) {
  const std::size_t length = std::min(bytes.size(), kind.maxLength);
  if (length < kind.minLength) return std::nullopt;
  DecodedCapture c;
  c.digital = kind.digital;
  c.mantissaCode = digitValue(bytes[5]);
  c.rate = digitValue(bytes[6]);
  c.rangeA = digitValue(bytes[7]);
  c.rangeB = digitValue(bytes[8]);
  // Only the two instrument models exist; any other mantissa would put nonsense
  // (or a division by zero) into every time and rate shown.
  if (bytes.substr(0, 5) != kind.magic || (c.mantissaCode != 2 && c.mantissaCode != 3) ||
      c.rate > 4 || c.rangeA > 2 || c.rangeB > 2)
    return std::nullopt;
  // The count comes from the length; a short last sample is not one.
  const std::size_t counted = (length - 6) / 4;
  const std::size_t whole = (bytes.size() - kHeader) / 4;
  c.points = static_cast<std::int32_t>(std::min({counted, whole, std::size_t{65536}}));
  c.samples = bytes.substr(kHeader, 4 * static_cast<std::size_t>(c.points));
  return c;
}

bool loadBytes(Scope& s, std::optional<DecodedCapture> decoded, const char* refused) {
  if (!decoded) {
    s.FileInvalid = 1;
    helpMessage(s, refused);
    return false;
  }
  applyCapture(s, *decoded);
  return true;
}

// The volts of a code as the export writes them, in thousandths.
long long exportMillivolts(int code, int range) {
  static constexpr int kScale[] = {1, 10, 100};
  return floorInt((code - 2048) * 0.4885 + 0.55) * kScale[std::clamp(range, 0, 2)];
}

// `value` / 10^decimals written with no trailing zeros.
void appendDecimal(std::string& out, long long value, int decimals) {
  if (value < 0) {
    out += '-';
    value = -value;
  }
  long long unit = 1;
  for (int i = 0; i < decimals; ++i) unit *= 10;
  out += std::to_string(value / unit);
  long long fraction = value % unit;
  if (fraction == 0) return;
  char digits[8];
  for (int i = decimals - 1; i >= 0; --i, fraction /= 10)
    digits[i] = static_cast<char>('0' + fraction % 10);
  int used = decimals;
  while (used > 0 && digits[used - 1] == '0') --used;
  out += '.';
  out.append(digits, static_cast<std::size_t>(used));
}

}  // namespace

std::string signalFileBytes(const Scope& s) {
  return fileBytes(s, "QVX04", true);
}

std::string fftFileBytes(const Scope& s) {
  return fileBytes(s, "FFT04", false);
}

std::string csvExportText(const Scope& s) {
  const bool samples = s.ExportKind == 1;
  const std::int32_t size = std::clamp<std::int32_t>(s.SampleSizeIndex, 0, 5);
  const std::int32_t rows = (samples ? 2048 : 1024) << size;
  std::string out;
  out.reserve(static_cast<std::size_t>(rows) * (samples ? 24 : 14) + 128);
  out += samples ? " QVX sample data for Channels A - B - C - D\r\n"
                 : " QVX FFT data for Channels A & B\r\n";
  out += "Samples/Sec:,";
  out += std::to_string(
      std::llround(s.RateMantissa * 2000.0 * std::pow(10.0, std::clamp(s.DataRateIndex, 0, 4))));
  out += "\r\nChannel A, Channel B, Channel C, Channel D\r\n";
  for (std::int32_t i = 0; i < rows; ++i) {
    if (samples) {
      appendDecimal(out, exportMillivolts(s.BufA[i], s.DataRangeA), 3);
      out += ',';
      appendDecimal(out, exportMillivolts(s.BufB[i], s.DataRangeB), 3);
      out += s.BufC[i] > 2048 ? ",1" : ",0";
      out += s.BufD[i] > 2048 ? ",1\r\n" : ",0\r\n";
    } else {
      appendDecimal(out, floorInt(s.BufA[i] / 0.255), 2);
      out += ',';
      appendDecimal(out, floorInt(s.BufB[i] / 0.255), 2);
      out += "\r\n";
    }
  }
  return out;
}

void chabsave(Scope& s) {
  save(s, signalFileBytes(s));
}

void fftabsave(Scope& s) {
  save(s, fftFileBytes(s));
}

void exportab(Scope& s) {
  save(s, csvExportText(s));
}

std::optional<DecodedCapture> decodeSignalFile(std::string_view bytes) {
  return decode(bytes, kSignal);
}

std::optional<DecodedCapture> decodeFftFile(std::string_view bytes) {
  return decode(bytes, kFft);
}

std::string encodeCapture(const DecodedCapture& c) {
  return fileBytes(c.digital ? kSignal.magic : kFft.magic, static_cast<char>('0' + c.mantissaCode),
                   c.rate, c.rangeA, c.rangeB, c.points, [&](std::int32_t i, char* p) {
                     putSample(p, c.codeA(i), c.codeB(i), c.highC(i), c.highD(i));
                   });
}

void applyCapture(Scope& s, const DecodedCapture& c) {
  const std::int32_t n = c.points;
  for (std::int32_t i = 0; i < n; ++i) {
    if (c.digital) {
      if (s.ChanCOn == 1) s.BufC[i] = c.highC(i) ? 2560 : 2048;
      if (s.ChanDOn == 1) s.BufD[i] = c.highD(i) ? 2560 : 2048;
    }
    if (s.ChanAOn == 1) s.BufA[i] = static_cast<std::int16_t>(c.codeA(i));
    if (s.ChanBOn == 1) s.BufB[i] = static_cast<std::int16_t>(c.codeB(i));
  }

  s.GenLastIndex = static_cast<float>(n);
  const int size = sizeIndexFor(n, c.digital ? 2048 : 1024);
  if (size >= 0) s.SampleSizeIndex = size;
  const std::int16_t fill = c.digital ? static_cast<std::int16_t>(s.MidLevel) : 0;
  if (n < 65535) {
    auto rest = [&](SampleBuffer& buf, int on) {
      if (on == 1) std::fill(buf.begin() + n, buf.end(), fill);
    };
    rest(s.BufA, s.ChanAOn);
    rest(s.BufB, s.ChanBOn);
    if (c.digital) {
      rest(s.BufC, s.ChanCOn);
      rest(s.BufD, s.ChanDOn);
    }
  }
  if (s.GenLastIndex > static_cast<float>(s.BufLast))
    s.GenLastIndex = static_cast<float>(s.BufLast);

  s.LoadResult = 1;
  s.RateMantissa = c.mantissaCode / 2.0f;
  s.DataRateIndex = s.DataRateIndexB = c.rate;
  s.DataRangeA = c.rangeA;
  s.DataRangeB = c.rangeB;
  if (c.digital) {
    s.SampleRateIndex = c.rate;
    s.ReqLoadAB = s.ReqLoadB = s.ReqLoadCustom = 0;
  } else {
    s.FftDoneA = s.FftDoneB = 1;
    s.ReqLoadFFT = 0;
  }
  DSAMPLE(s);
}

bool applySignalFile(Scope& s, std::string_view bytes) {
  return loadBytes(s, decodeSignalFile(bytes), kSignal.refused);
}

bool applyFftFile(Scope& s, std::string_view bytes) {
  return loadBytes(s, decodeFftFile(bytes), kFft.refused);
}

void chabload(Scope& s) {
  s.FileInvalid = 0;
  if (s.FilePath.empty()) {
    helpMessage(s, kNoFileToLoad);
    s.ReqLoadAB = s.ReqLoadB = 0;
    return;
  }
  if (s.FilePath.find(".qvx") == std::string::npos) {
    helpMessage(s, "Not a valid QVX file");
    return;
  }
  const auto bytes = readPlainFile(s.FilePath, kSignalReadLimit);
  if (!applySignalFile(s, bytes ? std::string_view(*bytes) : std::string_view())) {
    s.ReqLoadAB = s.ReqLoadB = 0;
  }
}

void FFTabload(Scope& s) {
  s.FileInvalid = 0;
  if (s.FilePath.empty()) {
    helpMessage(s, kNoFileToLoad);
    s.ReqLoadFFT = 0;
    return;
  }
  const auto bytes = readPlainFile(s.FilePath, kSignalReadLimit);
  if (!applyFftFile(s, bytes ? std::string_view(*bytes) : std::string_view())) s.ReqLoadFFT = 0;
}

}  // namespace qvx
