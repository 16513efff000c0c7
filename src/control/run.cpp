#include "control/run.h"

#include "acquisition/capture.h"
#include "acquisition/channels.h"
#include "acquisition/timebase.h"
#include "control/data_files.h"
#include "control/extras.h"
#include "control/groups.h"
#include "core/remote_poll.h"
#include "core/status_box.h"
#include "counter/counter.h"
#include "device/link.h"
#include "display/render.h"
#include "display/settings.h"
#include "generator/generator.h"
#include "measure/mdata.h"
#include "panel/numeric.h"

namespace qvx {

namespace {

constexpr int SCOPE = 0, GENERATOR = 1, SCOPEGEN = 2, COUNTER = 3, FFT = 4;

bool scopeOrFft(const RunState& s) {
  return s.OperatingMode == SCOPE || s.OperatingMode == FFT;
}

// Shows a two-line failure in the status box for two seconds, then puts things back as
// after a run, so the next GO (or the remote poll) finds the panel as it was.
void refuseRun(Scope& s, const char* line1, const char* line2, const std::string& lasting) {
  showStatus(s, line1, line2);
  s.RunFlag = 0;
  s.host.DoEvents();
  s.host.Sleep(2000);
  s.panel.Trigwait.visible = false;
  HScroll1_Change(s);
  s.RunActive = 0;
  // The box goes after two seconds; the reason stays readable until the next run.
  showStatusLine(s, lasting);
  if (s.RemoteExecute == 0) resumeRemotePoll(s);
}

// Start-up keeps channel B selectable whatever the probe said; a run's probe is the one
// believed. Without channel B its trace is dropped and its buttons stay unusable, so no
// trace of an absent channel is drawn and none is left that could not be removed.
void dropAbsentChannelB(Scope& s) {
  if (s.ChanBFitted != 0) return;
  s.panel.Command18.enabled = false;
  RANGEBENABLE(s);
  if (s.SelB == 1) {
    s.SelB = -1;
    SDISPLAY(s);
  }
}

void lockPanel(Scope& s) {
  s.panel.GOBUTTON.fontSize = 8;
  s.panel.GOBUTTON.caption = "STOP";
  s.ChannelConfig = channelConfigByte(s, s);
  s.panel.SmodeUP.enabled = false;
  s.panel.SmodeDown.enabled = false;
  if (s.OperatingMode > SCOPE && s.OperatingMode != COUNTER) {
    RANGEADISABLE(s);
    RANGEBDISABLE(s);
    SAMPLEDISABLE(s);
    TRIGGERDISABLE(s);
    if (s.OperatingMode == SCOPEGEN) s.panel.TRESETBUTTON.enabled = true;
  }
  FILEDISABLE(s);
  GENDISABLE(s);
  s.panel.SCOPEMODE.enabled = false;
}

void programLength(Scope& s) {
  SETCHAB(s);
  s.SampleCount = 1024 * (1 << (s.SizeIndexA + 1));
  s.LoadedSampleCount = s.SampleCount;
  SETMAXLOOP(s);
  reloadloop(s);
  s.host.Sleep(100);
}

void keepTimeData(const ChannelState& chan, SampleBuffers& bufs) {
  if (chan.ChanAOn == 1) bufs.TimeBufA = bufs.BufA;
  if (chan.ChanBOn == 1) bufs.TimeBufB = bufs.BufB;
}

void takeSnapshot(Scope& s, int passRate) {
  s.DataRangeA = s.RangeStepA;
  s.DataRangeB = s.RangeStepB;
  s.DataSizeIndex = s.SizeIndexA;
  s.DataSizeIndexB = s.SizeIndexB;
  if (s.OperatingMode == SCOPEGEN) {
    s.DataRateIndex = passRate;
    s.DataRateIndexB = passRate;
  } else {
    s.DataRateIndex = s.RateIndexA;
    s.DataRateIndexB = s.RateIndexB;
  }
}

// One capture step: program the pass, run the mode's operation, show and hand over
// what it captured.
void captureStep(Scope& s) {
  int passRate = 0;
  if (scopeOrFft(s)) {
    passRate = s.RateIndexA;
    static constexpr int kPretrig[] = {0, 10, 100};
    s.PretrigPoints = kPretrig[s.PretrigIndex >= 0 && s.PretrigIndex <= 2 ? s.PretrigIndex : 0];
    s.TrigLevelCode = static_cast<int>(roundHalfEven(4096 - s.TrigCursorY));
    s.SampleCount = 1024 * (1 << (s.SizeIndexA + 1));
  } else {
    if (s.GenDirty != 0) GENUPDATEBUTTON_Click(s);
    s.DacLastIndex = static_cast<std::int32_t>(roundHalfEven(s.GenLastIndex));
    passRate = s.GenMode == 0   ? s.GenRateIndex0
               : s.GenMode == 1 ? s.GenRateIndex1
                                : s.GenCustomRate;
  }
  s.RateCode = 5 - passRate;
  s.CounterRateCode = s.RateCode;
  s.CounterRegSel = 0;
  s.CaptureDone = 0;
  s.handling.lastCaptureAuto = false;

  switch (s.OperatingMode) {
    case SCOPE:
    case FFT:
      ADCconvert(s);
      break;
    case GENERATOR:
      DACGEN(s);
      break;
    case SCOPEGEN:
      DACADC(s);
      break;
    case COUNTER:
      FCntMain(s);
      break;
    default:
      break;
  }

  if (s.CaptureDone == 1 && (s.RemoteExecute == 0 || s.RemoteDisplayUpdate == 1)) {
    DSAMPLE(s);
    if (s.OperatingMode == FFT) keepTimeData(s, s);
    if (scopeOrFft(s) || s.OperatingMode == SCOPEGEN) takeSnapshot(s, passRate);
    if (s.TrigDelayMode == 0) s.panel.HScroll1.setValue(0);
    HScroll1_Change(s);
  }
  if (s.RemoteExecute == 1 && s.CaptureDone == 1 && writeDataFiles(s, s, s))
    writeMeasurementFile(s);
  if (s.CaptureDone == 1)
    showStatusLine(s, s.handling.lastCaptureAuto
                          ? "AUTO: no trigger came; this capture was taken at once."
                          : "");
}

void unlockPanel(Scope& s) {
  s.panel.Trigwait.visible = false;
  s.RunFlag = 0;
  s.panel.GOBUTTON.fontSize = 10;
  s.panel.GOBUTTON.caption = "GO";
  s.panel.GOCOLOR.setBackColour(RGB(0xFF, 0, 0));
  if (scopeOrFft(s)) {
    TRIGGERENABLE(s);
    SAMPLEENABLE(s);
  }
  if (s.OperatingMode != GENERATOR) {
    setRangeGroups(s);
    if (s.ChanBFitted == 0) s.panel.Command18.enabled = false;
  }
  SAMPLEENABLE(s);
  FILEENABLE(s);
  if (s.OperatingMode == GENERATOR || s.OperatingMode == SCOPEGEN) GENENABLE(s);
  s.panel.SCOPEMODE.enabled = true;
  s.panel.SmodeUP.enabled = true;
  s.panel.SmodeDown.enabled = true;
  s.RunActive = 0;
  if (s.RemoteExecute == 0) resumeRemotePoll(s);
  s.panel.ScopeScreen.AutoRedraw = false;
}

}  // namespace

void GOBUTTON_Click(Scope& s) {
  s.RunFlag += 1;
  if (s.RunFlag > 1) s.RunFlag = 0;
  if (s.RunFlag == 1) GOMODE(s);
}

void GOMODE(Scope& s) {
  s.RunActive = 1;
  if (s.RemoteExecute == 0) holdRemotePoll(s);
  showStatusLine(s, "");
  initport(s);
  if (s.ModelCode == 0) {
    refuseRun(s, "  No QVX Hardware !!! ", "  Aborting Command ...",
              "No QVX Hardware: nothing answered on the printer port. Check the cable, or "
              "choose the port with PORT.");
    return;
  }
  Testpower(s);
  if (s.PowerFault >= 1) {
    refuseRun(s, " No Power to QVX  !!! ", " Check Power to QVX   ",
              "No Power to QVX: the instrument answers but has no power. Check its supply.");
    return;
  }
  dropAbsentChannelB(s);

  s.panel.GOCOLOR.setBackColour(s.RunFlag == 1 ? RGB(0, 0xFF, 0) : RGB(0xFF, 0, 0));
  if (s.RunFlag == 1) {
    lockPanel(s);
    programLength(s);
    for (;;) {
      captureStep(s);
      if (s.OperatingMode == COUNTER) s.RunFlag = 0;
      if (s.RepeatMode == 0) s.RunFlag = 0;
      if (s.RunFlag != 1) break;
      s.PrevChannelConfig = s.ChannelConfig;
      s.ChannelConfig = channelConfigByte(s, s);
      if (s.ChannelConfig == s.PrevChannelConfig) {
        reloadloop(s);
      } else {
        SETCHAB(s);
        SETMAXLOOP(s);
        s.LoadedSampleCount = s.SampleCount;
      }
    }
  }
  unlockPanel(s);
}

}  // namespace qvx
