#include "files/custom_wave.h"

#include <algorithm>
#include <cmath>

#include "acquisition/timebase.h"
#include "core/plain_file.h"
#include "files/file_text.h"
#include "files/safe_write.h"
#include "panel/numeric.h"

namespace qvx {

namespace {

constexpr Colour kUpdatedGreen = 0x80FF80;

std::int32_t lastIndex(const GeneratorState& s) {
  return static_cast<std::int32_t>(
      std::clamp(std::floor(static_cast<double>(s.GenLastIndex)), 0.0, 65535.0));
}

bool fileChosen(Scope& s) {
  s.FileInvalid = 0;
  if (!s.FilePath.empty()) return true;
  helpMessage(s, kNoFileToLoad);
  return false;
}

// Two bytes a point, high byte first.
std::string waveBytes(const std::int16_t* codes, std::int32_t points) {
  std::string out(2 * static_cast<std::size_t>(points), '\0');
  for (std::int32_t i = 0; i < points; ++i) {
    out[2 * i] = static_cast<char>((codes[i] & 0xF00) >> 8);
    out[2 * i + 1] = static_cast<char>(codes[i] & 0xFF);
  }
  return out;
}

}  // namespace

std::string customWaveBytes(const GeneratorState& s) {
  return waveBytes(s.GenTable.data(), lastIndex(s) + 1);
}

std::string rawWaveBytes(const std::vector<std::int16_t>& codes) {
  return waveBytes(codes.data(), static_cast<std::int32_t>(codes.size()));
}

void customsave(Scope& s) {
  s.DataFilesReady = 0;
  if (replaceFileWhole(s.FilePath, customWaveBytes(s)))
    s.DataFilesReady = 1;
  else
    helpMessage(s, kUnableToSave);
}

std::vector<std::int16_t> decodeRawWave(std::string_view bytes) {
  const auto n = std::min<std::size_t>(bytes.size() / 2, 65535);
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  std::vector<std::int16_t> codes(n);
  for (std::size_t i = 0; i < n; ++i)
    codes[i] = static_cast<std::int16_t>((p[2 * i] & 15) * 256 + p[2 * i + 1]);
  return codes;
}

std::vector<std::int16_t> decodeCsvWave(std::string_view text) {
  // Every item takes at least one character, so the file length bounds the count too.
  ListItems items(text, std::min<std::size_t>(text.size(), 65535));
  std::vector<std::int16_t> codes;
  while (const auto item = items.next())
    codes.push_back(
        static_cast<std::int16_t>(roundHalfEven(std::clamp(leadingNumber(*item), 0.0, 4095.0))));
  return codes;
}

void applyWave(Scope& s, const std::vector<std::int16_t>& codes) {
  const auto n = static_cast<std::int32_t>(codes.size());
  std::copy(codes.begin(), codes.end(), s.GenTable.begin());
  s.GenLastIndex = static_cast<float>(n - 1);
  if (n < s.BufLast) std::fill(s.GenTable.begin() + n, s.GenTable.end(), 0);
  s.GenLastIndex = std::min(s.GenLastIndex, static_cast<float>(s.BufLast));
  s.LoadResult = 1;
  s.GenMode = 2;
  // Keep the built-in style to return to; a second custom load must not make the
  // custom style itself the one NORMAL mode goes back to.
  if (s.GenStyle != 4) s.SavedGenStyle = s.GenStyle;
  s.GenStyle = 4;
  s.GenDirty = 0;
  s.panel.GENUPDATEBACK.setBackColour(kUpdatedGreen);
  if (s.GenLastIndex < 9) s.GenLastIndex = 9;
  DSAMPLE(s);
}

void customload(Scope& s) {
  if (!fileChosen(s)) return;
  const auto bytes = readPlainFile(s.FilePath, kRawWaveReadLimit);
  if (!bytes) {
    helpMessage(s, kNoFileToLoad);
    return;
  }
  applyWave(s, decodeRawWave(*bytes));
}

void Customcsvload(Scope& s) {
  if (!fileChosen(s)) return;
  const auto text = readPlainFile(s.FilePath, kCsvWaveReadLimit);
  if (!text) {
    helpMessage(s, kNoFileToLoad);
    return;
  }
  applyWave(s, decodeCsvWave(*text));
}

void copyChannelToCustom(const TimebaseState& timebase, GeneratorState& gen,
                         const SampleBuffers& bufs, int channel) {
  const SampleBuffer* buffers[] = {&bufs.BufA, &bufs.BufB, &bufs.BufC, &bufs.BufD};
  const SampleBuffer& from = *buffers[std::clamp(channel, 0, 3)];
  const std::int32_t points = 2048 << std::clamp<std::int32_t>(timebase.GenSizeIndex, 0, 5);
  gen.GenLastIndex = static_cast<float>(points - 1);
  std::copy_n(from.begin(), points, gen.GenTable.begin());
}

}  // namespace qvx
