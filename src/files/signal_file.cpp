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

std::string fileBytes(const Scope& s, const char* magic, bool digital) {
  const std::int32_t n = pointsToSave(s);
  std::string out;
  out.resize(kHeader + 4 * static_cast<std::size_t>(n));
  std::copy_n(magic, 5, out.begin());
  out[5] = s.RateMantissa > 1.25f ? '3' : '2';
  out[6] = digit(s.DataRateIndex, 0, 4);
  out[7] = digit(s.DataRangeA, 0, 2);
  out[8] = digit(s.DataRangeB, 0, 2);
  char* p = out.data() + kHeader;
  for (std::int32_t i = 0; i < n; ++i) {
    const int a = s.BufA[i], b = s.BufB[i];
    const int c = digital && s.BufC[i] >= 2049 ? 16 : 0;
    const int d = digital && s.BufD[i] >= 2049 ? 16 : 0;
    *p++ = static_cast<char>(((a & 0xF00) >> 8) + c);
    *p++ = static_cast<char>(a & 0xFF);
    *p++ = static_cast<char>(((b & 0xF00) >> 8) + d);
    *p++ = static_cast<char>(b & 0xFF);
  }
  return out;
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

bool applyFile(Scope& s, std::string_view bytes, const FileKind& kind) {
  const std::size_t length = std::min(bytes.size(), kind.maxLength);
  const bool longEnough = length >= kind.minLength;
  const int mantissaCode = longEnough ? digitValue(bytes[5]) : 0;
  const int rate = longEnough ? digitValue(bytes[6]) : -1;
  const int rangeA = longEnough ? digitValue(bytes[7]) : -1;
  const int rangeB = longEnough ? digitValue(bytes[8]) : -1;
  // Only the two instrument models exist; any other mantissa would put nonsense
  // (or a division by zero) into every time and rate shown.
  const bool valid = longEnough && bytes.substr(0, 5) == kind.magic &&
                     (mantissaCode == 2 || mantissaCode == 3) && rate <= 4 && rangeA <= 2 &&
                     rangeB <= 2;
  if (!valid) {
    s.FileInvalid = 1;
    helpMessage(s, kind.refused);
    return false;
  }

  // The count comes from the length; a short last sample is not one.
  const std::size_t counted = (length - 6) / 4;
  const std::size_t whole = (bytes.size() - kHeader) / 4;
  const auto n = static_cast<std::int32_t>(std::min({counted, whole, std::size_t{65536}}));
  const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data()) + kHeader;
  for (std::int32_t i = 0; i < n; ++i, p += 4) {
    if (kind.digital) {
      if (s.ChanCOn == 1) s.BufC[i] = static_cast<std::int16_t>((p[0] & 16) * 32 + 2048);
      if (s.ChanDOn == 1) s.BufD[i] = static_cast<std::int16_t>((p[2] & 16) * 32 + 2048);
    }
    if (s.ChanAOn == 1) s.BufA[i] = static_cast<std::int16_t>((p[0] & 15) * 256 + p[1]);
    if (s.ChanBOn == 1) s.BufB[i] = static_cast<std::int16_t>((p[2] & 15) * 256 + p[3]);
  }

  s.GenLastIndex = static_cast<float>(n);
  const int size = sizeIndexFor(n, kind.digital ? 2048 : 1024);
  if (size >= 0) s.SampleSizeIndex = size;
  const std::int16_t fill = kind.digital ? static_cast<std::int16_t>(s.MidLevel) : 0;
  if (n < 65535) {
    auto rest = [&](SampleBuffer& buf, int on) {
      if (on == 1) std::fill(buf.begin() + n, buf.end(), fill);
    };
    rest(s.BufA, s.ChanAOn);
    rest(s.BufB, s.ChanBOn);
    if (kind.digital) {
      rest(s.BufC, s.ChanCOn);
      rest(s.BufD, s.ChanDOn);
    }
  }
  if (s.GenLastIndex > static_cast<float>(s.BufLast))
    s.GenLastIndex = static_cast<float>(s.BufLast);

  s.LoadResult = 1;
  s.RateMantissa = mantissaCode / 2.0f;
  s.DataRateIndex = s.DataRateIndexB = rate;
  s.DataRangeA = rangeA;
  s.DataRangeB = rangeB;
  if (kind.digital) {
    s.SampleRateIndex = rate;
    s.ReqLoadAB = s.ReqLoadB = s.ReqLoadCustom = 0;
  } else {
    s.FftDoneA = s.FftDoneB = 1;
    s.ReqLoadFFT = 0;
  }
  DSAMPLE(s);
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

bool applySignalFile(Scope& s, std::string_view bytes) {
  return applyFile(s, bytes, kSignal);
}

bool applyFftFile(Scope& s, std::string_view bytes) {
  return applyFile(s, bytes, kFft);
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
