// Waveform data: the codes of the last capture of one channel, and the scaling that turns
// them into volts and seconds: volts = (code - YREFerence) * YINCrement + YORigin,
// seconds = XORigin + index * XINCrement.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "scpi/commands.h"
#include "scpi/error_queue.h"
#include "scpi/session.h"

namespace qvx::scpi {

namespace {

constexpr int kZeroCode = 2048;
// C and D hold 2048 for low and 2560 for high: a high point scales to 1.
constexpr double kDigitalStep = 1.0 / 512;

bool channelB(const Call& c) {
  return c.session.waveformSource == 1;
}

// Points of the last capture of the source: 2048 × 2^size step of the data.
std::size_t points(const Call& c) {
  const int step = channelB(c) ? c.scope.DataSizeIndexB : c.scope.DataSizeIndex;
  return std::size_t{2048} << step;
}

const SampleBuffer& buffer(const Call& c) {
  const Scope& s = c.scope;
  // In FFT mode A and B hold the spectra; the time data are kept beside them.
  switch (c.session.waveformSource) {
    case 0:
      return s.FftDoneA == 1 ? s.TimeBufA : s.BufA;
    case 1:
      return s.FftDoneB == 1 ? s.TimeBufB : s.BufB;
    case 2:
      return s.BufC;
    default:
      return s.BufD;
  }
}

void data(Call& c) {
  c.expectParams(0);
  const SampleBuffer& buf = buffer(c);
  const std::size_t n = std::min(points(c), buf.size());
  std::string& out = c.reply;
  if (c.session.waveformWord) {
    const std::string length = std::to_string(2 * n);
    out.reserve(2 + length.size() + 2 * n);
    out += '#';
    out += static_cast<char>('0' + length.size());
    out += length;
    for (std::size_t i = 0; i < n; ++i) {
      const auto code = static_cast<std::uint16_t>(buf[i]);
      out += static_cast<char>(code >> 8);
      out += static_cast<char>(code & 0xFF);
    }
  } else {
    out.reserve(5 * n);
    for (std::size_t i = 0; i < n; ++i) {
      if (i) out += ',';
      out += std::to_string(buf[i]);
    }
  }
}

double secondsPerPoint(const Call& c) {
  const int r = channelB(c) ? c.scope.DataRateIndexB : c.scope.DataRateIndex;
  return 1.0 / (2.0 * c.scope.RateMantissa * std::pow(10.0, r + 3));
}

double voltsPerCode(const Call& c) {
  if (c.session.waveformSource >= 2) return kDigitalStep;
  const int rangeStep = channelB(c) ? c.scope.DataRangeB : c.scope.DataRangeA;
  return std::pow(10.0, rangeStep) / kZeroCode;
}

const Command kWaveform[] = {
    {"WAVeform:SOURce",
     [](Call& c) {
       c.expectParams(1);
       c.session.waveformSource =
           c.choice(0, {"A", "B", "C", "D", "CHANnel1", "CHANnel2", "CHANnel3", "CHANnel4"}) % 4;
     },
     [](Call& c) {
       c.expectParams(0);
       c.reply = std::string(1, static_cast<char>('A' + c.session.waveformSource));
     }},
    {"WAVeform:FORMat",
     [](Call& c) {
       c.expectParams(1);
       c.session.waveformWord = c.choice(0, {"ASCii", "WORD"}) == 1;
     },
     [](Call& c) {
       c.expectParams(0);
       c.reply = c.session.waveformWord ? "WORD" : "ASC";
     }},
    {"WAVeform:DATA", nullptr, data},
    {"WAVeform:POINts", nullptr,
     [](Call& c) {
       c.expectParams(0);
       c.reply = std::to_string(points(c));
     }},
    {"WAVeform:XINCrement", nullptr,
     [](Call& c) {
       c.expectParams(0);
       c.reply = replyNumber(secondsPerPoint(c));
     }},
    {"WAVeform:XORigin", nullptr,
     [](Call& c) {
       c.expectParams(0);
       c.reply = "0";
     }},
    {"WAVeform:YINCrement", nullptr,
     [](Call& c) {
       c.expectParams(0);
       c.reply = replyNumber(voltsPerCode(c));
     }},
    {"WAVeform:YORigin", nullptr,
     [](Call& c) {
       c.expectParams(0);
       c.reply = "0";
     }},
    {"WAVeform:YREFerence", nullptr,
     [](Call& c) {
       c.expectParams(0);
       c.reply = std::to_string(kZeroCode);
     }},
};

}  // namespace

std::span<const Command> waveformCommands() {
  return kWaveform;
}

}  // namespace qvx::scpi
