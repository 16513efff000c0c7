#include "remote/keywords.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>
#include <utility>

#include "acquisition/channels.h"
#include "acquisition/timebase.h"
#include "acquisition/trigger.h"
#include "counter/counter.h"
#include "files/file_text.h"
#include "generator/generator.h"
#include "generator/panel.h"
#include "panel/numeric.h"
#include "remote/command_syntax.h"

namespace qvx {

namespace {

constexpr int kCustomStyle = 4;

// Sets `field` to the number paired with `value` in `choices`; false when the value is
// not one of them.
bool choose(int& field, const std::string& value,
            std::initializer_list<std::pair<const char*, int>> choices) {
  for (const auto& [text, number] : choices)
    if (value == text) {
      field = number;
      return true;
    }
  return false;
}

// "0", "1", ... up to `last`, each meaning itself.
bool chooseIndex(int& field, const std::string& value, int last) {
  for (int i = 0; i <= last; ++i)
    if (value == std::to_string(i)) {
      field = i;
      return true;
    }
  return false;
}

bool chooseFlag(int& field, const std::string& value) {
  return chooseIndex(field, value, 1);
}

int wholeNumber(const std::string& value) {
  return toInt16(leadingNumber(value));
}

int clampedWhole(const std::string& value, int low, int high) {
  return std::clamp(wholeNumber(value), low, high);
}

// True when the new mode's table must be built at once.
bool setGeneratorMode(GeneratorState& s, const std::string& value) {
  s.GenMode = wholeNumber(value);
  // Only modes 0..2 exist: above the last one counts as the first, and so does a
  // negative number.
  if (s.GenMode > 2 || s.GenMode < 0) s.GenMode = 0;
  if (s.GenMode == 2) {
    s.SavedGenStyle = s.GenStyle;
    s.GenStyle = kCustomStyle;
  } else if (s.GenStyle == kCustomStyle) {
    s.GenStyle = 0;
  }
  if (s.GenMode != 2) return true;
  s.GenDirty = 1;
  return false;
}

void setGeneratorAmplitude(GeneratorState& s, const std::string& value) {
  const long long index = roundHalfEven(3 - leadingNumber(value));
  s.GenAmpIndex = static_cast<int>(std::clamp<long long>(index, 1, 2));
  s.GenDirty = 1;
}

void setTriggerLevel(TriggerState& s, const std::string& value) {
  // Far beyond every full scale the level is clamped to the scale's edge anyway; held to
  // a million volts it stays a finite float, which 1e300 volts would not.
  const double volts = std::clamp(leadingNumber(value), -1e6, 1e6);
  s.TrigLevelVolts = static_cast<float>(std::floor(volts * 1000) / 1000);
}

// Whether `key` is one of these keywords; `checkMode` is set when the mode changed.
bool channelKey(InstrumentState& s, const std::string& key, const std::string& v, bool& checkMode) {
  if (key == "ARANGE")
    chooseFlag(s.RangeA, v);
  else if (key == "BRANGE")
    chooseFlag(s.RangeB, v);
  else if (key == "AMODE")
    choose(s.CouplingA, v, {{"AC", -1}, {"DC", 1}});
  else if (key == "BMODE")
    choose(s.CouplingB, v, {{"AC", -1}, {"DC", 1}});
  else if (key == "APROBE")
    choose(s.ProbeA, v, {{"1", 0}, {"10", 1}});
  else if (key == "BPROBE")
    choose(s.ProbeB, v, {{"1", 0}, {"10", 1}});
  else if (key == "TRIGMODE")
    chooseIndex(s.TrigMode, v, 2);
  else if (key == "TRIGSOURCE")
    choose(s.TrigSource, v, {{"A", 0}, {"B", 1}, {"C", 2}, {"D", 3}});
  else if (key == "TRIGSLOPE")
    choose(s.TrigSlope, v, {{"POS", 1}, {"NEG", -1}});
  else if (key == "PRETRIG")
    chooseIndex(s.PretrigIndex, v, 2);
  else if (key == "SAMPLERATE")
    chooseIndex(s.SampleRateIndex, v, 4);
  else if (key == "SAMPLESIZE") {
    int size = s.SampleSizeIndex;
    if (choose(size, v, {{"2", 0}, {"4", 1}, {"8", 2}, {"16", 3}, {"32", 4}, {"64", 5}}))
      s.SampleSizeIndex = size;
  } else if (key == "SCOPEMODE") {
    checkMode = chooseIndex(s.OperatingMode, v, 4);
  } else {
    return false;
  }
  return true;
}

bool generatorKey(GeneratorState& s, const std::string& key, const std::string& v,
                  bool& regenerate) {
  if (key == "GENMODE") {
    regenerate = setGeneratorMode(s, v);
  } else if (key == "GENFREQ") {
    s.GenFreq = static_cast<double>(roundHalfEven(std::clamp(leadingNumber(v), 5.0, 500000.0)));
    s.GenDirty = 1;
  } else if (key == "GENSWEEPST") {
    s.GenSweepStart = clampedWhole(v, 0, 9);
    s.GenDirty = 1;
  } else if (key == "GENSTYLE") {
    s.GenStyle = clampedWhole(v, 0, 3);
    s.GenDirty = 1;
  } else if (key == "GENAMP") {
    setGeneratorAmplitude(s, v);
  } else if (key == "GENCUSTOMRATE") {
    s.GenCustomRate = clampedWhole(v, 0, 4);
  } else {
    return false;
  }
  return true;
}

// The level as a fraction of the source channel's full scale, kept just inside it, and
// the marker moved to it. Digital sources keep the fraction they had.
void placeTriggerLevel(Scope& s) {
  if (s.TrigSource <= 1) {
    const float fullScale = (s.TrigSource == 0 ? s.RangeA : s.RangeB) == 1 ? 10.0f : 1.0f;
    if (s.TrigLevelVolts >= fullScale) s.TrigLevelVolts = 0.999f * fullScale;
    if (s.TrigLevelVolts <= -fullScale) s.TrigLevelVolts = -0.999f * fullScale;
    s.TrigLevelNorm = s.TrigLevelVolts / fullScale;
  }
  s.TrigCursorY = 2048 - s.TrigLevelNorm * 2040.0;
  trcursdraw(s);
}

}  // namespace

RemoteAction applyRemoteSetting(InstrumentState& s, const std::string& key, const std::string& v,
                                RemoteRefresh& refresh) {
  bool checkMode = false, regenerate = false;
  if (channelKey(s, key, v, checkMode)) {
    refresh.channels = true;
    if (checkMode) return RemoteAction::CheckMode;
  } else if (generatorKey(s, key, v, regenerate)) {
    refresh.generator = true;
    if (regenerate) return RemoteAction::RegenerateWave;
  } else if (key == "TRIGLEVEL") {
    setTriggerLevel(s, v);
    refresh.level = true;
  } else if (key == "ADATA") {
    chooseFlag(s.WriteDataA, v);
  } else if (key == "BDATA") {
    chooseFlag(s.WriteDataB, v);
  } else if (key == "CDATA") {
    chooseFlag(s.WriteDataC, v);
  } else if (key == "DDATA") {
    chooseFlag(s.WriteDataD, v);
  } else if (key == "MDATA") {
    chooseFlag(s.WriteMeasurements, v);
  } else if (key == "REMOTEDISPLAYUPDATE") {
    chooseFlag(s.RemoteDisplayUpdate, v);
  } else if (key == "EXECUTE") {
    if (leadingNumber(v) == 1) s.RemoteExecute = 1;
  } else if (key == "FREQCOUNTSOURCE") {
    chooseIndex(s.FCntSource, v, 3);
    return RemoteAction::ShowCounter;
  }
  return RemoteAction::None;
}

void applyRemoteKeyword(Scope& s, const std::string& key, const std::string& value,
                        RemoteRefresh& refresh) {
  switch (applyRemoteSetting(s, key, value, refresh)) {
    case RemoteAction::CheckMode:
      if (s.runControl.checkMode) s.runControl.checkMode(s);
      break;
    case RemoteAction::RegenerateWave:
      GENUPDATEBUTTON_Click(s);
      break;
    case RemoteAction::ShowCounter:
      CountDisplay(s);
      break;
    case RemoteAction::None:
      break;
  }
}

void applyRemoteItem(Scope& s, RemoteRefresh& refresh) {
  applyRemoteKeyword(s, s.RemoteKey, s.RemoteValue, refresh);
}

void refreshAfterRemote(Scope& s, const RemoteRefresh& r) {
  if (r.channels) {
    CHANA(s);
    CHANB(s);
    TRIGGER(s);
    DSAMPLE(s);
  }
  if (r.level) placeTriggerLevel(s);
  if (r.generator) GENDISP(s);
}

}  // namespace qvx
