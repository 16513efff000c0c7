// Every field of the instrument state after start-up, written out, so that a field that
// goes missing, loses its start value or changes its type fails here rather than on
// the panel. The program starts against the simulated instrument as the window does.
#include <gtest/gtest.h>

#include <array>
#include <cinttypes>
#include <cstdio>
#include <string>
#include <type_traits>
#include <vector>

#include "started.h"

namespace qvx {
namespace {

std::string show(const std::string& v) {
  return "'" + v + "'";
}

template <typename T>
std::string show(const T& v) {
  char buf[64];
  if constexpr (std::is_floating_point_v<T>) {
    std::snprintf(buf, sizeof buf, "%.9g", static_cast<double>(v));
  } else if constexpr (std::is_unsigned_v<T>) {
    std::snprintf(buf, sizeof buf, "0x%" PRIX64, static_cast<std::uint64_t>(v));
  } else {
    std::snprintf(buf, sizeof buf, "%" PRId64, static_cast<std::int64_t>(v));
  }
  return buf;
}

// A list as its values joined by blanks; a long run of one value as "count x value".
template <typename T>
std::string showList(const T& list) {
  if (list.empty()) return "[]";
  std::size_t same = 0;
  while (same < list.size() && list[same] == list[0]) ++same;
  std::string out = "[";
  if (list.size() > 8 && same == list.size()) {
    out += std::to_string(list.size());
    out += " x ";
    out += show(list[0]);
  } else {
    for (const auto& v : list) {
      if (out.size() > 1) out += ' ';
      out += show(v);
    }
  }
  out += ']';
  return out;
}
template <typename T>
std::string show(const std::vector<T>& v) {
  return showList(v);
}
template <typename T, std::size_t N>
std::string show(const std::array<T, N>& v) {
  return showList(v);
}

struct Row {
  const char* name;
  std::string shown;
  const char* expected;
};
#define ROW(field, value)        \
  Row {                          \
#field, show(s.field), value \
  }

TEST(StartValues, EveryFieldAfterStartUpHasItsValue) {
  testing::Started st;
  const Scope& s = st.s;
  const Row rows[] = {
      ROW(LptNumber, "1"),
      ROW(DataPort, "0x378"),
      ROW(StatusPort, "0x379"),
      ROW(ControlPort, "0x37A"),
      ROW(EcrPort, "0x77A"),
      ROW(PortIdle, "0"),
      ROW(ModelCode, "1"),
      ROW(RateMantissa, "1"),
      ROW(ProbeBits, "208"),
      ROW(ChanBFitted, "64"),
      ROW(GenFitted, "1"),
      ROW(PowerFault, "0"),
      ROW(DeviceMemSize, "65536"),
      ROW(ConfigExitReq, "0"),
      ROW(ConfigShownPort, "1"),
      ROW(ConfigWriteFlag, "1"),
      ROW(OperatingMode, "0"),
      ROW(PrevMode, "0"),
      ROW(RunFlag, "0"),
      ROW(RunActive, "0"),
      ROW(RepeatMode, "0"),
      ROW(CaptureDone, "1"),
      ROW(TrigDelayMode, "0"),
      ROW(SampleRateIndex, "3"),
      ROW(SampleSizeIndex, "1"),
      ROW(RateIndexA, "3"),
      ROW(RateIndexB, "3"),
      ROW(SizeIndexA, "1"),
      ROW(SizeIndexB, "1"),
      ROW(SampleCount, "360"),
      ROW(LoadedSampleCount, "0"),
      ROW(RateCode, "2"),
      ROW(ScrollUnit, "1024"),
      ROW(GenSizeIndex, "1"),
      ROW(ChanAOn, "1"),
      ROW(ChanBOn, "1"),
      ROW(ChanCOn, "1"),
      ROW(ChanDOn, "1"),
      ROW(RangeA, "1"),
      ROW(RangeB, "1"),
      ROW(CouplingA, "-1"),
      ROW(CouplingB, "-1"),
      ROW(ProbeA, "0"),
      ROW(ProbeB, "0"),
      ROW(ChannelConfig, "0"),
      ROW(PrevChannelConfig, "0"),
      ROW(RangeStepA, "1"),
      ROW(RangeStepB, "1"),
      ROW(TrigMode, "0"),
      ROW(TrigSource, "0"),
      ROW(TrigSlope, "1"),
      ROW(PretrigIndex, "0"),
      ROW(PretrigPoints, "1"),
      ROW(TrigLevelVolts, "0"),
      ROW(TrigLevelNorm, "0"),
      ROW(TrigCursorY, "2048"),
      ROW(TrigLevelCode, "2048"),
      ROW(TrigMarkOn, "0"),
      ROW(TrigMarkDrawn, "0"),
      ROW(TrigMarkY, "0"),
      ROW(TrigMarkColour, "0x0"),
      ROW(TrigMarkColourNext, "0x0"),
      ROW(TrigStepLarge, "256"),
      ROW(TrigStepSmall, "16"),
      ROW(MarkerTimerArm, "1"),
      ROW(WaitLoops, "100"),
      ROW(ArmedTrigLevel, "0"),
      ROW(ArmedTrigMode, "0"),
      ROW(TrigArmed, "0"),
      ROW(CalGainA, "1"),
      ROW(CalGainB, "1"),
      ROW(CalOffsetA, "0"),
      ROW(CalOffsetB, "0"),
      ROW(ScreenHeight, "4096"),
      ROW(MidLevel, "2048"),
      ROW(DataRangeA, "0"),
      ROW(DataRangeB, "0"),
      ROW(DataRateIndex, "3"),
      ROW(DataRateIndexB, "3"),
      ROW(DataSizeIndex, "1"),
      ROW(DataSizeIndexB, "1"),
      ROW(SelA, "1"),
      ROW(SelB, "-1"),
      ROW(SelC, "-1"),
      ROW(SelD, "-1"),
      ROW(SelE, "-1"),
      ROW(SelAplusB, "-1"),
      ROW(SelAminusB, "-1"),
      ROW(ViewWidth, "1000"),
      ROW(ViewStart, "0"),
      ROW(ViewFirst, "0"),
      ROW(ViewPoints, "2001"),
      ROW(AxisRateIndex, "3"),
      ROW(ScrollLast, "2047"),
      ROW(LastShown, "4095"),
      ROW(GenScrollLast, "2048"),
      ROW(FftSize, "4096"),
      ROW(GridOn, "1"),
      ROW(JoinOn, "1"),
      ROW(UnitsOn, "-1"),
      ROW(TraceColour, "[0x800000 0x8000 0xC0 0xC000C0 0xC07000 0x2090D0]"),
      ROW(BaseA, "2048"),
      ROW(BaseB, "2048"),
      ROW(BaseC, "2048"),
      ROW(BaseD, "2048"),
      ROW(BaseMid, "2048"),
      ROW(PrintActive, "0"),
      ROW(PrintWholeChoice, "0"),
      ROW(PrintSignalChoice, "0"),
      ROW(PrintExit, "0"),
      ROW(HelpTopicReq, "0"),
      ROW(HelpExitReq, "0"),
      ROW(HelpTopicShown, "0"),
      ROW(SavedMagA, "1"),
      ROW(SavedMagB, "1"),
      ROW(SavedMagMath, "1"),
      ROW(PosStepA, "0"),
      ROW(PosStepB, "0"),
      ROW(PosStepC, "0"),
      ROW(PosStepD, "0"),
      ROW(PosStepMath, "0"),
      ROW(MagIndexA, "0"),
      ROW(MagIndexB, "0"),
      ROW(MagIndexC, "0"),
      ROW(MagIndexD, "0"),
      ROW(MathMagIndex, "0"),
      ROW(MagA, "1"),
      ROW(MagB, "1"),
      ROW(MagC, "1"),
      ROW(MagD, "1"),
      ROW(MagMath, "1"),
      ROW(ShiftA, "0"),
      ROW(ShiftB, "0"),
      ROW(ShiftC, "0"),
      ROW(ShiftD, "0"),
      ROW(ShiftMath, "0"),
      ROW(AxisOffsetA, "0"),
      ROW(AxisOffsetB, "0"),
      ROW(AxisOffsetC, "0"),
      ROW(AxisOffsetD, "0"),
      ROW(AxisOffsetMath, "0"),
      ROW(CursorSel, "0"),
      ROW(CursorX, "0"),
      ROW(CursorColour, "0x0"),
      ROW(CursorDrawn, "0"),
      ROW(CursorXDrawn, "0"),
      ROW(CursorColourDrawn, "0x0"),
      ROW(CursorReading, "0"),
      ROW(CursorUnit, "'mS'"),
      ROW(CursorAbsolute, "0"),
      ROW(CursorButtonHeld, "0"),
      ROW(CursorCoarseStep, "62.5"),
      ROW(CursorFineStep, "2"),
      ROW(MeasBuf, "[4096 x 2048]"),
      ROW(MeasLow, "2048"),
      ROW(MeasHigh, "2048"),
      ROW(MeasMid, "2048"),
      ROW(MeasEdges, "[0 0 0 0]"),
      ROW(MeasInvalid, "1"),
      ROW(MeasFreq, "0"),
      ROW(MeasDuty, "0"),
      ROW(MeasUnit, "'Hz'"),
      ROW(FftDoneA, "0"),
      ROW(FftDoneB, "0"),
      ROW(FftRealIn, "[]"),
      ROW(FftImagIn, "[]"),
      ROW(FftRealOut, "[]"),
      ROW(FftImagOut, "[]"),
      ROW(PiConst, "3.1415926"),
      ROW(GenMode, "0"),
      ROW(GenStyle, "0"),
      ROW(SavedGenStyle, "0"),
      ROW(GenSweepStart, "5"),
      ROW(GenFreq, "50000"),
      ROW(GenRateIndex0, "4"),
      ROW(GenRateIndex1, "0"),
      ROW(GenCustomRate, "1"),
      ROW(GenAmpIndex, "1"),
      ROW(GenDuty, "50"),
      ROW(GenDirty, "1"),
      ROW(GenLastIndex, "4096"),
      ROW(DacLastIndex, "360"),
      ROW(CustomMag, "0"),
      ROW(StepPreDelay, "1"),
      ROW(GenSweepShort, "1"),
      ROW(GenSweepRatio, "0"),
      ROW(GenSweepRatioShown, "2"),
      ROW(GenSweepStartFreq, "1000"),
      ROW(GenDutyAngle, "180"),
      ROW(CustomView, "[65536 x 0]"),
      ROW(CustomMax, "0"),
      ROW(CustomMin, "0"),
      ROW(CustomMid, "0"),
      ROW(CustomMagFactor, "1"),
      ROW(FCntSource, "0"),
      ROW(FCntMode, "0"),
      ROW(CounterRateCode, "0"),
      ROW(CounterRegSel, "0"),
      ROW(CounterControl, "0"),
      ROW(CounterEnable, "0"),
      ROW(CounterClear, "0"),
      ROW(FCntStSp, "3"),
      ROW(FCntRepeat, "0"),
      ROW(FCntManualState, "0"),
      ROW(FCntResetReq, "0"),
      ROW(FCntValue, "0"),
      ROW(FCntText, "'0000000000'"),
      ROW(FCntNote, "''"),
      ROW(FCntArmedMode, "0"),
      ROW(FCntArmedSource, "0"),
      ROW(FCntArmedStSp, "3"),
      ROW(FCntReadings, "0"),
      ROW(FCntLastReading, "0"),
      ROW(FRecInterval, "0"),
      ROW(FRecElapsed, "0"),
      ROW(FRecNextTime, "0"),
      ROW(FRecLost, "0"),
      ROW(FRecField1, "''"),
      ROW(FRecField2, "''"),
      ROW(FRecFolder, "''"),
      ROW(FRecPlaces, "[]"),
      ROW(FCntSpare, "0"),
      ROW(FilePath, "''"),
      ROW(SaveWhat, "''"),
      ROW(SaveExt, "''"),
      ROW(SaveConfirmed, "0"),
      ROW(SavePanelDone, "0"),
      ROW(FileInvalid, "0"),
      ROW(LoadResult, "0"),
      ROW(LoadPanelGeneral, "1"),
      ROW(LoadPanelDone, "0"),
      ROW(ReqLoadAB, "0"),
      ROW(ReqLoadB, "0"),
      ROW(ReqLoadFFT, "0"),
      ROW(ReqLoadProfile, "0"),
      ROW(ReqLoadCustom, "0"),
      ROW(ReqLoadCsv, "0"),
      ROW(ReqCopyA, "0"),
      ROW(ReqCopyB, "0"),
      ROW(ReqCopyC, "0"),
      ROW(ReqCopyD, "0"),
      ROW(ReqKeepCustom, "0"),
      ROW(ReqSaveAB, "0"),
      ROW(ReqSaveFFT, "0"),
      ROW(ReqSaveCustom, "0"),
      ROW(ReqSaveProfile, "0"),
      ROW(ReqExportFFT, "0"),
      ROW(ExportKind, "0"),
      ROW(LoadFolder, "''"),
      ROW(SaveFolder, "''"),
      ROW(LoadPlaces, "[]"),
      ROW(SavePlaces, "[]"),
      ROW(BufA, "[65536 x 2048]"),
      ROW(BufB, "[65536 x 2048]"),
      ROW(BufC, "[65536 x 2048]"),
      ROW(BufD, "[65536 x 2048]"),
      ROW(TimeBufA, "[65536 x 2048]"),
      ROW(TimeBufB, "[65536 x 2048]"),
      ROW(GenTable, "[65536 x 2048]"),
      ROW(BufLast, "65535"),
      ROW(RemoteExecute, "0"),
      ROW(RemotePrefix, "'QVX'"),
      ROW(RemoteKey, "''"),
      ROW(RemoteValue, "''"),
      ROW(RemoteFilePath, "''"),
      ROW(RemoteDisplayUpdate, "1"),
      ROW(WriteDataA, "0"),
      ROW(WriteDataB, "0"),
      ROW(WriteDataC, "0"),
      ROW(WriteDataD, "0"),
      ROW(DataFilesReady, "0"),
      ROW(DataFileNumber, "0"),
      ROW(RemoteSkipStamp, "''"),
  };
  EXPECT_EQ(std::size(rows), 273u) << "every field of the state has its row";
  for (const Row& r : rows) EXPECT_EQ(r.shown, r.expected) << r.name;
}

#undef ROW

}  // namespace
}  // namespace qvx
