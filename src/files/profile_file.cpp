#include "files/profile_file.h"

#include <array>
#include <cmath>
#include <optional>
#include <type_traits>
#include <utility>

#include "core/plain_file.h"
#include "files/file_text.h"
#include "files/safe_write.h"
#include "panel/numeric.h"

namespace qvx {

namespace {

// One field of the record: how to read and write it, and the values it may hold.
struct Field {
  double (*get)(const InstrumentState&);
  void (*set)(InstrumentState&, double);
  double lo, hi;
  bool whole;             // stored in a whole-number field: rounded (halves to even) on reading
  bool signFlag = false;  // a 1 / -1 toggle: only those two values
};

template <auto Member>
constexpr Field field(double lo, double hi) {
  using T = std::remove_cvref_t<decltype(std::declval<InstrumentState&>().*Member)>;
  return Field{[](const InstrumentState& s) { return static_cast<double>(s.*Member); },
               [](InstrumentState& s, double v) { s.*Member = static_cast<T>(v); }, lo, hi,
               std::is_integral_v<T>};
}

template <auto Member>
constexpr Field toggle() {
  Field f = field<Member>(-1, 1);
  f.signFlag = true;
  return f;
}

constexpr double kColourMax = 0xFFFFFF;
constexpr double kAny16 = 32767;

using S = InstrumentState;
// The order of the file. Ranges are those the panel itself can produce.
const std::array<Field, std::tuple_size_v<decltype(DecodedProfile::values)>> kFields = {
    field<&S::DataRangeA>(0, 2), field<&S::DataRangeB>(0, 2), field<&S::RangeStepA>(0, 2),
    field<&S::RangeStepB>(0, 2), field<&S::DataRateIndex>(0, 4), field<&S::DataRateIndexB>(0, 4),
    field<&S::RateIndexA>(0, 4), field<&S::RateIndexB>(0, 4), field<&S::DataSizeIndex>(0, 5),
    field<&S::DataSizeIndexB>(0, 5), field<&S::SizeIndexA>(0, 5), field<&S::SizeIndexB>(0, 5),
    field<&S::ViewWidth>(1, 32767), field<&S::ViewStart>(0, 32767),
    field<&S::ScreenHeight>(4096, 4096), toggle<&S::GridOn>(), toggle<&S::CouplingA>(),
    toggle<&S::CouplingB>(), toggle<&S::SelA>(), toggle<&S::SelB>(), toggle<&S::SelE>(),
    field<&S::RangeA>(0, 1), field<&S::RangeB>(0, 1), field<&S::ProbeA>(0, 1),
    field<&S::ProbeB>(0, 1), field<&S::TrigMode>(0, 2), field<&S::TrigSource>(0, 3),
    toggle<&S::TrigSlope>(), field<&S::PretrigIndex>(0, 2), field<&S::MathMagIndex>(0, 2),
    field<&S::MagMath>(1, 5), toggle<&S::JoinOn>(), toggle<&S::UnitsOn>(), toggle<&S::SelAplusB>(),
    toggle<&S::SelAminusB>(), field<&S::CursorSel>(0, 7), field<&S::CursorX>(0, 65535),
    field<&S::CursorXDrawn>(0, 65535), field<&S::CursorColour>(0, kColourMax),
    field<&S::CursorColourDrawn>(0, kColourMax), field<&S::CursorDrawn>(0, 1),
    field<&S::CursorCoarseStep>(0, 65536), field<&S::CursorFineStep>(0, 65536),
    field<&S::TrigMarkOn>(0, 1), field<&S::TrigCursorY>(-4096, 8192),
    field<&S::TrigMarkY>(-4096, 8192), field<&S::TrigMarkColourNext>(0, kColourMax),
    field<&S::TrigMarkColour>(0, kColourMax), field<&S::TrigMarkDrawn>(0, 1),
    field<&S::TrigStepLarge>(0, 4096), field<&S::TrigStepSmall>(0, 4096),
    field<&S::SampleRateIndex>(0, 4), field<&S::SampleSizeIndex>(0, 5),
    field<&S::OperatingMode>(0, 4), field<&S::CaptureDone>(0, 1), field<&S::GenMode>(0, 2),
    field<&S::GenStyle>(0, 4), field<&S::GenSweepStart>(0, 9), field<&S::GenSweepStartFreq>(0, 1e7),
    field<&S::GenFreq>(5, 500000), field<&S::GenRateIndex0>(0, 4), field<&S::GenSweepRatio>(0, 3),
    field<&S::GenSweepShort>(0, 1), field<&S::GenSweepRatioShown>(0, 1e7),
    field<&S::GenRateIndex1>(0, 4), field<&S::GenCustomRate>(0, 4), field<&S::SavedGenStyle>(0, 4),
    field<&S::GenAmpIndex>(1, 2), field<&S::GenDirty>(0, 1), field<&S::RunFlag>(0, 1),
    // second group
    field<&S::MagIndexA>(0, 3), field<&S::MagIndexB>(0, 3), field<&S::PosStepA>(-40, 40),
    field<&S::PosStepB>(-40, 40), field<&S::ChanAOn>(0, 1), field<&S::ChanBOn>(0, 1),
    field<&S::TrigDelayMode>(0, 1), field<&S::RepeatMode>(0, 1),
    // third group
    field<&S::ChanCOn>(0, 1), field<&S::ChanDOn>(0, 1), toggle<&S::SelC>(), toggle<&S::SelD>(),
    field<&S::MagIndexC>(0, 2), field<&S::MagIndexD>(0, 2), field<&S::PosStepC>(-20, 20),
    field<&S::PosStepD>(-20, 20), field<&S::FCntMode>(0, 1), field<&S::FCntSource>(0, 3),
    field<&S::FCntStSp>(0, 3), field<&S::FCntSpare>(-32768, kAny16), field<&S::FCntResetReq>(0, 1),
    field<&S::FCntValue>(0, 1073741823), field<&S::FCntRepeat>(0, 1),
    field<&S::FCntManualState>(0, 2)};

constexpr std::size_t kGroupEnds[] = {70, 78, 94};

std::optional<double> checked(const Field& f, std::string_view item) {
  std::optional<double> v = wholeNumber(item);
  if (!v) return std::nullopt;
  double value = f.whole ? static_cast<double>(roundHalfEven(*v)) : *v;
  if (value < f.lo || value > f.hi) return std::nullopt;
  if (f.signFlag && value == 0) return std::nullopt;
  return value;
}

}  // namespace

std::string profileText(const InstrumentState& s) {
  std::string out = "DPF,";
  for (const Field& f : kFields) {
    out += fileNumber(f.get(s));
    out += ',';
  }
  return out;
}

std::optional<DecodedProfile> decodeProfile(std::string_view text) {
  if (text.size() < 10) return std::nullopt;
  const auto items = listItems(text, kFields.size() + 2);
  if (items.empty()) return std::nullopt;
  std::string_view magic = items[0];
  while (!magic.empty() && magic.front() == ' ') magic.remove_prefix(1);
  while (!magic.empty() && magic.back() == ' ') magic.remove_suffix(1);
  if (magic != "DPF") return std::nullopt;

  // Only whole groups are restored, and only when every value in them is in range.
  const std::size_t available = items.size() - 1;
  DecodedProfile profile;
  for (std::size_t end : kGroupEnds)
    if (available >= end) profile.count = end;
  if (profile.count == 0) return std::nullopt;
  for (std::size_t i = 0; i < profile.count; ++i) {
    std::optional<double> v = checked(kFields[i], items[i + 1]);
    if (!v) return std::nullopt;
    profile.values[i] = *v;
  }
  return profile;
}

void applyProfileFields(InstrumentState& s, const DecodedProfile& profile) {
  for (std::size_t i = 0; i < profile.count; ++i) kFields[i].set(s, profile.values[i]);
}

bool applyProfile(Scope& s, std::string_view text) {
  const std::optional<DecodedProfile> profile = decodeProfile(text);
  if (!profile) {
    s.FileInvalid = 1;
    helpMessage(s, kNotAProfile);
    s.ReqLoadProfile = 0;
    return false;
  }
  applyProfileFields(s, *profile);
  s.LoadResult = 1;
  s.ReqLoadAB = s.ReqLoadB = s.ReqLoadFFT = s.ReqLoadProfile = s.ReqLoadCustom = s.ReqLoadCsv = 0;
  return true;
}

void profilesave(Scope& s) {
  s.DataFilesReady = 0;
  if (replaceFileWhole(s.FilePath, profileText(s)))
    s.DataFilesReady = 1;
  else
    helpMessage(s, kUnableToSave);
}

void profileload(Scope& s) {
  s.FileInvalid = 0;
  if (s.FilePath.empty()) {
    helpMessage(s, kNoFileToLoad);
    return;
  }
  const auto text = readPlainFile(s.FilePath, kProfileReadLimit);
  applyProfile(s, text ? std::string_view(*text) : std::string_view());
}

}  // namespace qvx
