#include "remote/keywords.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
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

// "0", "1", ... up to `last` (at most 9), each meaning itself.
bool chooseIndex(int& field, const std::string& value, int last) {
  if (value.size() != 1 || value[0] < '0' || value[0] > '0' + last) return false;
  field = value[0] - '0';
  return true;
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

// One keyword's effect on the settings, and the action still to do after it.
using Effect = RemoteAction (*)(InstrumentState& s, const std::string& value);

// The panel refreshed once the file is read after each keyword, whether or not its value
// was one of its list.
enum class Refresh { None, Channels, Level, Generator };

struct Keyword {
  std::string_view name;
  Refresh refresh;
  Effect effect;
};

using S = InstrumentState;
using V = const std::string&;
constexpr RemoteAction kNone = RemoteAction::None;

// Every keyword, sorted by name: a poll looks up each item of the file, so the key is
// found by a binary search rather than by a chain of comparisons.
constexpr Keyword kKeywords[] = {
    {"ADATA", Refresh::None,
     [](S& s, V v) {
       chooseFlag(s.WriteDataA, v);
       return kNone;
     }},
    {"AMODE", Refresh::Channels,
     [](S& s, V v) {
       choose(s.CouplingA, v, {{"AC", -1}, {"DC", 1}});
       return kNone;
     }},
    {"APROBE", Refresh::Channels,
     [](S& s, V v) {
       choose(s.ProbeA, v, {{"1", 0}, {"10", 1}});
       return kNone;
     }},
    {"ARANGE", Refresh::Channels,
     [](S& s, V v) {
       chooseFlag(s.RangeA, v);
       return kNone;
     }},
    {"BDATA", Refresh::None,
     [](S& s, V v) {
       chooseFlag(s.WriteDataB, v);
       return kNone;
     }},
    {"BMODE", Refresh::Channels,
     [](S& s, V v) {
       choose(s.CouplingB, v, {{"AC", -1}, {"DC", 1}});
       return kNone;
     }},
    {"BPROBE", Refresh::Channels,
     [](S& s, V v) {
       choose(s.ProbeB, v, {{"1", 0}, {"10", 1}});
       return kNone;
     }},
    {"BRANGE", Refresh::Channels,
     [](S& s, V v) {
       chooseFlag(s.RangeB, v);
       return kNone;
     }},
    {"CDATA", Refresh::None,
     [](S& s, V v) {
       chooseFlag(s.WriteDataC, v);
       return kNone;
     }},
    {"DDATA", Refresh::None,
     [](S& s, V v) {
       chooseFlag(s.WriteDataD, v);
       return kNone;
     }},
    {"EXECUTE", Refresh::None,
     [](S& s, V v) {
       if (leadingNumber(v) == 1) s.RemoteExecute = 1;
       return kNone;
     }},
    {"FREQCOUNTSOURCE", Refresh::None,
     [](S& s, V v) {
       chooseIndex(s.FCntSource, v, 3);
       return RemoteAction::ShowCounter;
     }},
    {"GENAMP", Refresh::Generator,
     [](S& s, V v) {
       setGeneratorAmplitude(s, v);
       return kNone;
     }},
    {"GENCUSTOMRATE", Refresh::Generator,
     [](S& s, V v) {
       s.GenCustomRate = clampedWhole(v, 0, 4);
       return kNone;
     }},
    {"GENFREQ", Refresh::Generator,
     [](S& s, V v) {
       s.GenFreq = static_cast<double>(roundHalfEven(std::clamp(leadingNumber(v), 5.0, 500000.0)));
       s.GenDirty = 1;
       return kNone;
     }},
    {"GENMODE", Refresh::Generator,
     [](S& s, V v) { return setGeneratorMode(s, v) ? RemoteAction::RegenerateWave : kNone; }},
    {"GENSTYLE", Refresh::Generator,
     [](S& s, V v) {
       s.GenStyle = clampedWhole(v, 0, 3);
       s.GenDirty = 1;
       return kNone;
     }},
    {"GENSWEEPST", Refresh::Generator,
     [](S& s, V v) {
       s.GenSweepStart = clampedWhole(v, 0, 9);
       s.GenDirty = 1;
       return kNone;
     }},
    {"MDATA", Refresh::None,
     [](S& s, V v) {
       chooseFlag(s.WriteMeasurements, v);
       return kNone;
     }},
    {"PRETRIG", Refresh::Channels,
     [](S& s, V v) {
       chooseIndex(s.PretrigIndex, v, 2);
       return kNone;
     }},
    {"REMOTEDISPLAYUPDATE", Refresh::None,
     [](S& s, V v) {
       chooseFlag(s.RemoteDisplayUpdate, v);
       return kNone;
     }},
    {"SAMPLERATE", Refresh::Channels,
     [](S& s, V v) {
       chooseIndex(s.SampleRateIndex, v, 4);
       return kNone;
     }},
    {"SAMPLESIZE", Refresh::Channels,
     [](S& s, V v) {
       int size = s.SampleSizeIndex;
       if (choose(size, v, {{"2", 0}, {"4", 1}, {"8", 2}, {"16", 3}, {"32", 4}, {"64", 5}}))
         s.SampleSizeIndex = size;
       return kNone;
     }},
    {"SCOPEMODE", Refresh::Channels,
     [](S& s, V v) {
       return chooseIndex(s.OperatingMode, v, 4) ? RemoteAction::CheckMode : kNone;
     }},
    {"TRIGLEVEL", Refresh::Level,
     [](S& s, V v) {
       setTriggerLevel(s, v);
       return kNone;
     }},
    {"TRIGMODE", Refresh::Channels,
     [](S& s, V v) {
       chooseIndex(s.TrigMode, v, 2);
       return kNone;
     }},
    {"TRIGSLOPE", Refresh::Channels,
     [](S& s, V v) {
       choose(s.TrigSlope, v, {{"POS", 1}, {"NEG", -1}});
       return kNone;
     }},
    {"TRIGSOURCE", Refresh::Channels,
     [](S& s, V v) {
       choose(s.TrigSource, v, {{"A", 0}, {"B", 1}, {"C", 2}, {"D", 3}});
       return kNone;
     }},
};
static_assert(std::ranges::is_sorted(kKeywords, {}, &Keyword::name));

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
  const std::string_view name = key;
  const auto* found = std::ranges::lower_bound(kKeywords, name, {}, &Keyword::name);
  if (found == std::end(kKeywords) || found->name != name) return RemoteAction::None;
  refresh.channels |= found->refresh == Refresh::Channels;
  refresh.level |= found->refresh == Refresh::Level;
  refresh.generator |= found->refresh == Refresh::Generator;
  return found->effect(s, v);
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
