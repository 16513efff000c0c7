#pragma once
// The loaders as the corpus replay and the loader tests reach them: the bytes become a
// file in a scratch folder, which the program then loads exactly as the load panel, the
// command line or the command-file poll would, and the state is checked afterwards for
// anything a file must never be able to cause. (The fuzzers reach the decoders alone,
// through decoder_checks.h.)
#include <array>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "control/startup.h"
#include "decoder_checks.h"
#include "device/port_file.h"
#include "display/render.h"
#include "files/calibration.h"
#include "files/custom_wave.h"
#include "files/file_panels.h"
#include "files/profile_file.h"
#include "remote/command_file.h"
#include "rig.h"

namespace qvx::fuzzing {

enum class Loader { Signal, Fft, Profile, RawWave, CsvWave, Calibration, PortFile, CommandFile };

inline const char* folderName(Loader l) {
  static const char* const names[] = {"signal",   "fft",         "profile",   "raw_wave",
                                      "csv_wave", "calibration", "port_file", "command_file"};
  return names[static_cast<int>(l)];
}

// A scope started once as the program starts, in a scratch folder that is also the
// current one; each replay begins from the state it had after start-up, or after the
// user then stepped to FFT mode.
struct LoaderRig {
  testing::TempFolder folder;
  testing::Rig rig;
  InstrumentState started, startedInFft;

  LoaderRig() {
    std::ofstream("QVXport.cfg") << "1\r\n";
    Form_Load(rig.scope);
    Form_Activate(rig.scope);
    started = rig.scope;
    rig.scope.panel.SmodeDown.click();
    startedInFft = rig.scope;
  }
  Scope& fresh(bool fft = false) {
    static_cast<InstrumentState&>(rig.scope) = fft ? startedInFft : started;
    rig.host.messages.clear();
    return rig.scope;
  }
};

// What a loaded file must never leave behind: empty when all is well.
inline std::string violations(const Scope& s) {
  // Plain pointers keep this whole-buffer pass cheap.
  const std::int16_t *a = s.BufA.data(), *b = s.BufB.data(), *c = s.BufC.data(), *d = s.BufD.data(),
                     *g = s.GenTable.data();
  for (int i = 0; i < 65536; ++i) {
    if (a[i] < 0 || a[i] > 4095 || b[i] < 0 || b[i] > 4095)
      return "analogue code out of range at " + std::to_string(i);
    if ((c[i] != 2048 && c[i] != 2560) || (d[i] != 2048 && d[i] != 2560))
      return "digital level out of range at " + std::to_string(i);
    if (g[i] < 0 || g[i] > 4095) return "output code out of range at " + std::to_string(i);
  }
  return settingViolations(s);
}

inline void writeBytes(const std::string& name, std::string_view bytes) {
  std::ofstream(name, std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string readBytes(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// What a refused file changed of the state it was loaded into: empty when nothing (the
// buffers, the generator table, every setting a profile holds, the calibration).
inline std::string changedBy(const InstrumentState& before, const InstrumentState& after) {
  auto same = [](const SampleBuffer& a, const SampleBuffer& b) {
    return std::memcmp(a.data(), b.data(), sizeof(a[0]) * a.size()) == 0;
  };
  if (!same(before.BufA, after.BufA) || !same(before.BufB, after.BufB) ||
      !same(before.BufC, after.BufC) || !same(before.BufD, after.BufD))
    return "a sample buffer";
  if (!same(before.GenTable, after.GenTable) || before.GenLastIndex != after.GenLastIndex)
    return "the generator table";
  if (profileText(before) != profileText(after)) return "the settings";
  if (before.CalGainA != after.CalGainA || before.CalGainB != after.CalGainB ||
      before.CalOffsetA != after.CalOffsetA || before.CalOffsetB != after.CalOffsetB ||
      before.RateMantissa != after.RateMantissa)
    return "the calibration or the rate mantissa";
  return {};
}

// Writes `bytes` to `name` and loads it with `loader` as the panel's load button does.
inline bool loadFile(Scope& s, void (*loader)(Scope&), const std::string& name,
                     std::string_view bytes) {
  writeBytes(name, bytes);
  s.FilePath = name;
  s.LoadResult = 0;
  loader(s);
  return s.LoadResult == 1;
}

// Loads `bytes` as the given kind of file; returns what went wrong, if anything.
inline std::string replay(LoaderRig& r, Loader loader, std::string_view bytes) {
  Scope& s = r.fresh(loader == Loader::Fft);
  switch (loader) {
    case Loader::Signal:
    case Loader::Fft:
    case Loader::Profile: {
      const char* name =
          std::array{"input.qvx", "input.fft", "input.dpf"}[static_cast<int>(loader)];
      writeBytes(name, bytes);
      openFileFromCommandLine(s, name);
      if (s.LoadResult != 1)
        if (std::string what = changedBy(loader == Loader::Fft ? r.startedInFft : r.started, s);
            !what.empty())
          return "a refused file changed " + what;
      break;
    }
    case Loader::RawWave:
    case Loader::CsvWave:
      loadFile(s, loader == Loader::RawWave ? customload : Customcsvload, "input.dcg", bytes);
      s.OperatingMode = 1;
      s.runControl.checkMode(s);
      s.SelE = 1;
      HScroll1_Change(s);
      break;
    case Loader::Calibration:
      writeBytes(kCalibrationFile, bytes);
      CheckCal(s);
      UtilButton_Click(s);
      break;
    case Loader::PortFile: {
      writeBytes("input.cfg", bytes);
      const std::optional<int> port = readPortFile("input.cfg");
      if (port && (*port < -32768 || *port > 32767)) return "port number beyond 16 bits";
      break;
    }
    case Loader::CommandFile:
      writeBytes(s.RemotePrefix + "com.txt", bytes);
      RemoteCommand(s);
      break;
  }
  return violations(s);
}

}  // namespace qvx::fuzzing
