#pragma once
// The decoders of every external input, as the fuzzers and the corpus replay reach them:
// bytes in, decoded content out, with no file, panel or port on the way, and the
// properties every decoded input must have checked afterwards. Where the state matters
// the decoded content is also applied to a bare instrument state, which is cheap.
#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "control/start_values.h"
#include "device/port_file.h"
#include "files/calibration.h"
#include "files/custom_wave.h"
#include "files/profile_file.h"
#include "files/signal_file.h"
#include "remote/command_syntax.h"
#include "remote/keywords.h"
#include "rig.h"

namespace qvx::fuzzing {

enum class Target { Signal, Fft, Profile, RawWave, CsvWave, Calibration, PortFile, CommandFile };

inline constexpr Target kTargets[] = {Target::Signal,   Target::Fft,        Target::Profile,
                                      Target::RawWave,  Target::CsvWave,    Target::Calibration,
                                      Target::PortFile, Target::CommandFile};

inline const char* targetFolder(Target t) {
  static const char* const names[] = {"signal",   "fft",         "profile",   "raw_wave",
                                      "csv_wave", "calibration", "port_file", "command_file"};
  return names[static_cast<int>(t)];
}

// The settings a file or a command may reach, each inside its table: empty when all are.
inline std::string settingViolations(const InstrumentState& s) {
  auto outside = [](double v, double lo, double hi) { return !(v >= lo && v <= hi); };
  auto sign = [](int v) { return v != 1 && v != -1; };
  if (outside(s.GenLastIndex, 0, 65535)) return "GenLastIndex " + std::to_string(s.GenLastIndex);
  if (outside(s.SampleSizeIndex, 0, 5) || outside(s.SampleRateIndex, 0, 4) ||
      outside(s.DataRateIndex, 0, 4) || outside(s.DataRangeA, 0, 2) ||
      outside(s.DataRangeB, 0, 2) || outside(s.OperatingMode, 0, 4) || outside(s.GenStyle, 0, 4) ||
      outside(s.SavedGenStyle, 0, 4) || outside(s.GenMode, 0, 2))
    return "an index outside its table";
  if (outside(s.RangeA, 0, 1) || outside(s.RangeB, 0, 1) || outside(s.ProbeA, 0, 1) ||
      outside(s.ProbeB, 0, 1) || sign(s.CouplingA) || sign(s.CouplingB) ||
      outside(s.TrigMode, 0, 2) || outside(s.TrigSource, 0, 3) || sign(s.TrigSlope) ||
      outside(s.PretrigIndex, 0, 2) || outside(s.FCntSource, 0, 3))
    return "a channel, trigger or counter setting outside its table";
  if (outside(s.GenFreq, 5, 500000) || outside(s.GenAmpIndex, 1, 2) ||
      outside(s.GenSweepStart, 0, 9) || outside(s.GenCustomRate, 0, 4))
    return "a generator setting outside its table";
  if (!std::isfinite(s.TrigLevelVolts)) return "trigger level not a number";
  for (int flag : {s.WriteDataA, s.WriteDataB, s.WriteDataC, s.WriteDataD, s.WriteMeasurements,
                   s.RemoteDisplayUpdate, s.RemoteExecute})
    if (outside(flag, 0, 1)) return "a remote flag beyond 0 and 1";
  if (s.RateMantissa != 1.0f && s.RateMantissa != 1.5f) return "rate mantissa";
  if (outside(s.CalGainA, 0.9 - 1e-9, 1.1 + 1e-9) || outside(s.CalGainB, 0.9 - 1e-9, 1.1 + 1e-9) ||
      outside(s.CalOffsetA, -30, 30) || outside(s.CalOffsetB, -30, 30) ||
      s.CalOffsetA != std::round(s.CalOffsetA) || s.CalOffsetB != std::round(s.CalOffsetB))
    return "calibration outside what the file may set";
  return {};
}

// The instrument state as start-up sets it, on which decoded content is applied; one for
// the whole run, since every check below looks only at what the last input changed.
inline InstrumentState& bareState() {
  static InstrumentState* state = [] {
    static testing::Rig rig;
    SetFirstStartValues(rig.scope);
    SetFurtherStartValues(rig.scope);
    return new InstrumentState(static_cast<const InstrumentState&>(rig.scope));
  }();
  return *state;
}

namespace detail {

inline std::string checkCapture(std::string_view b, bool digital) {
  const auto decoded = digital ? decodeSignalFile(b) : decodeFftFile(b);
  // Refused are: files too short to hold the smallest capture, another magic, a rate
  // mantissa of neither model, a rate or range digit beyond its table.
  auto digitWithin = [&](std::size_t i, char last) {
    return !std::isdigit(static_cast<unsigned char>(b[i])) || b[i] <= last;
  };
  const std::size_t shortest = digital ? 8198 : 2056;
  const bool acceptable = b.size() >= shortest && b.substr(0, 5) == (digital ? "QVX04" : "FFT04") &&
                          (b[5] == '2' || b[5] == '3') && digitWithin(6, '4') &&
                          digitWithin(7, '2') && digitWithin(8, '2');
  if (acceptable != decoded.has_value()) return acceptable ? "a sound file refused" : "accepted";
  if (!decoded) return {};
  const auto expected = static_cast<std::int32_t>(std::min<std::size_t>((b.size() - 9) / 4, 65536));
  if (decoded->points != expected) return "point count " + std::to_string(decoded->points);
  // Every point holds codes 0..4095, and a save gives the file back: the header with
  // any character that is not a digit read as "0", the whole samples the length counts,
  // and in each sample's high bytes only the bits a load keeps (the code's four, and the
  // bit of C or D in a signal file).
  const auto* in = reinterpret_cast<const unsigned char*>(b.data());
  const std::string saved = encodeCapture(*decoded);
  const auto* out = reinterpret_cast<const unsigned char*>(saved.data());
  if (saved.size() != 9 + 4 * static_cast<std::size_t>(expected) || saved.compare(0, 5, b, 0, 5))
    return "the capture saves to another length or magic";
  for (std::size_t i = 5; i < 9; ++i)
    if (out[i] != (std::isdigit(in[i]) ? in[i] : '0')) return "the header saves otherwise";
  const unsigned char mask = digital ? 0x1F : 0x0F;
  for (std::int32_t i = 0; i < expected; ++i) {
    const int a = decoded->codeA(i), bb = decoded->codeB(i);
    if (a < 0 || a > 4095 || bb < 0 || bb > 4095)
      return "a code outside 0..4095 at " + std::to_string(i);
    const std::size_t k = 9 + 4 * static_cast<std::size_t>(i);
    if (out[k] != (in[k] & mask) || out[k + 1] != in[k + 1] || out[k + 2] != (in[k + 2] & mask) ||
        out[k + 3] != in[k + 3])
      return "sample " + std::to_string(i) + " saves otherwise";
  }
  return {};
}

inline std::string checkProfile(std::string_view b) {
  const auto decoded = decodeProfile(b);
  if (!decoded) return {};
  if (decoded->count != 70 && decoded->count != 78 && decoded->count != 94)
    return "restores part of a group";
  InstrumentState& s = bareState();
  applyProfileFields(s, *decoded);
  if (std::string bad = settingViolations(s); !bad.empty()) return bad;
  // Saved and loaded again, the profile must stay as it is.
  const std::string saved = profileText(s);
  const auto again = decodeProfile(saved);
  if (!again || again->count != 94) return "a saved profile is refused";
  applyProfileFields(s, *again);
  if (profileText(s) != saved) return "a saved profile loads to other settings";
  return {};
}

inline std::string checkCodes(const std::vector<std::int16_t>& codes) {
  if (codes.size() > 65535) return "more than 65535 points";
  for (std::size_t i = 0; i < codes.size(); ++i)
    if (codes[i] < 0 || codes[i] > 4095)
      return "output code outside 0..4095 at " + std::to_string(i);
  return {};
}

inline std::string checkRawWave(std::string_view b) {
  const auto codes = decodeRawWave(b);
  if (codes.size() != std::min<std::size_t>(b.size() / 2, 65535)) return "point count";
  if (std::string bad = checkCodes(codes); !bad.empty()) return bad;
  // A save gives back the file's whole points with the high bytes' upper bits cleared.
  std::string expected(b.substr(0, 2 * codes.size()));
  for (std::size_t i = 0; i < expected.size(); i += 2) expected[i] &= 0x0F;
  if (rawWaveBytes(codes) != expected) return "the wave does not save back to its own bytes";
  return {};
}

inline std::string checkCsvWave(std::string_view b) {
  const auto codes = decodeCsvWave(b);
  if (std::string bad = checkCodes(codes); !bad.empty()) return bad;
  // CSV text has many spellings of one wave, so it is the codes that must come back
  // from the codes written plainly, after commas and on lines of their own in turn.
  std::string text;
  text.reserve(6 * codes.size());
  char digits[8];
  for (std::size_t i = 0; i < codes.size(); ++i) {
    text.append(digits, std::to_chars(digits, digits + sizeof digits, codes[i]).ptr);
    text += i % 2 ? "\r\n" : ",";
  }
  if (decodeCsvWave(text) != codes) return "the codes written out load to other codes";
  return {};
}

inline std::string checkCalibration(std::string_view b) {
  const auto decoded = parseCalibration(b);
  InstrumentState& s = bareState();
  applyCalibration(s, decoded);
  if (std::string bad = settingViolations(s); !bad.empty()) return bad;
  if (!decoded && (s.CalGainA != 1 || s.CalGainB != 1 || s.CalOffsetA != 0 || s.CalOffsetB != 0))
    return "a refused file leaves other than the defaults";
  // Saved, the values come back to the 15 significant digits the file keeps, and a
  // second save writes the same text.
  const std::string saved = calibrationText(s);
  const auto again = parseCalibration(saved);
  if (!again) return "a saved calibration is refused";
  auto near = [](double a, double b) { return std::abs(a - b) <= 1e-14 * std::abs(b); };
  if (!near(again->gainA, s.CalGainA) || !near(again->gainB, s.CalGainB) ||
      again->offsetA != s.CalOffsetA || again->offsetB != s.CalOffsetB)
    return "a saved calibration loads to other values";
  applyCalibration(s, again);
  if (calibrationText(s) != saved) return "a second save writes other text";
  return {};
}

inline std::string checkPortFile(std::string_view b) {
  const auto port = decodePortFile(b);
  if (!port) return {};
  if (*port < -32768 || *port > 32767) return "port number beyond 16 bits";
  if (decodePortFile(portFileText(*port)) != port) return "a saved port reads back otherwise";
  return {};
}

// The settings the command file's keywords reach, to tell whether an item changed any.
inline std::array<double, 30> remoteSettings(const InstrumentState& s) {
  return {double(s.RangeA),
          double(s.RangeB),
          double(s.CouplingA),
          double(s.CouplingB),
          double(s.ProbeA),
          double(s.ProbeB),
          double(s.TrigMode),
          double(s.TrigSource),
          double(s.TrigSlope),
          double(s.PretrigIndex),
          double(s.SampleRateIndex),
          double(s.SampleSizeIndex),
          double(s.OperatingMode),
          double(s.GenMode),
          double(s.GenStyle),
          double(s.SavedGenStyle),
          s.GenFreq,
          double(s.GenSweepStart),
          double(s.GenAmpIndex),
          double(s.GenCustomRate),
          double(s.GenDirty),
          double(s.TrigLevelVolts),
          double(s.WriteDataA),
          double(s.WriteDataB),
          double(s.WriteDataC),
          double(s.WriteDataD),
          double(s.RemoteDisplayUpdate),
          double(s.RemoteExecute),
          double(s.FCntSource),
          double(s.WriteMeasurements)};
}

// The command file's keywords, written out here rather than taken from the program's
// table, so that a key the table gains or loses by mistake shows.
inline bool isKeyword(const std::string& key) {
  static const std::unordered_set<std::string_view> keys = {
      "ARANGE",     "BRANGE",          "AMODE",      "BMODE",         "APROBE",
      "BPROBE",     "TRIGMODE",        "TRIGSOURCE", "TRIGSLOPE",     "PRETRIG",
      "SAMPLERATE", "SAMPLESIZE",      "SCOPEMODE",  "GENMODE",       "GENFREQ",
      "GENSWEEPST", "GENSTYLE",        "GENAMP",     "GENCUSTOMRATE", "TRIGLEVEL",
      "ADATA",      "BDATA",           "CDATA",      "DDATA",         "REMOTEDISPLAYUPDATE",
      "EXECUTE",    "FREQCOUNTSOURCE", "MDATA"};
  return keys.count(key) != 0;
}

inline std::string checkCommandFile(std::string_view b) {
  InstrumentState& s = bareState();
  s.RemoteExecute = 0;
  for (const std::string_view item : readItems(b)) {
    s.RemoteKey = item;
    Remotereadcom(s);
    const std::string& key = s.RemoteKey;
    const std::string& value = s.RemoteValue;
    if (key != "zzz") {
      if ((!value.empty() && (value.front() == ' ' || value.back() == ' ')) ||
          value.find(';') != std::string::npos || key.size() < 2 ||
          key.find('=') != std::string::npos)
        return "item decoded to key '" + key + "' and value '" + value + "'";
      for (const std::string* part : {&key, &value})
        for (char c : *part)
          if (std::islower(static_cast<unsigned char>(c))) return "lower case after decoding";
    }
    if (s.RemoteExecute == 1) continue;  // after EXECUTE=1 the rest of the file is not applied
    // Only an unknown key must change nothing, so only its settings are compared.
    const bool known = isKeyword(key);
    const auto before = known ? decltype(remoteSettings(s)){} : remoteSettings(s);
    RemoteRefresh refresh;
    const RemoteAction action = applyRemoteSetting(s, key, value, refresh);
    if (!known && (remoteSettings(s) != before || action != RemoteAction::None ||
                   refresh.channels || refresh.level || refresh.generator))
      return "the unknown key '" + key + "' changed something";
    if (std::string bad = settingViolations(s); !bad.empty())
      return bad + " after " + std::string(item);
  }
  return {};
}

}  // namespace detail

// Decodes `bytes` as the given kind of input and checks what came out: empty when every
// property holds, otherwise what did not.
inline std::string checkDecoded(Target t, std::string_view bytes) {
  switch (t) {
    case Target::Signal:
      return detail::checkCapture(bytes, true);
    case Target::Fft:
      return detail::checkCapture(bytes, false);
    case Target::Profile:
      return detail::checkProfile(bytes);
    case Target::RawWave:
      return detail::checkRawWave(bytes);
    case Target::CsvWave:
      return detail::checkCsvWave(bytes);
    case Target::Calibration:
      return detail::checkCalibration(bytes);
    case Target::PortFile:
      return detail::checkPortFile(bytes);
    case Target::CommandFile:
      return detail::checkCommandFile(bytes);
  }
  return "unknown target";
}

}  // namespace qvx::fuzzing
