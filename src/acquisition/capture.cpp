#include "acquisition/capture.h"

#include <cmath>

#include "acquisition/capture_time.h"
#include "acquisition/readout.h"
#include "core/command_file_watch.h"
#include "core/status_box.h"
#include "device/link.h"
#include "panel/numeric.h"

namespace qvx {

namespace {
constexpr int kEndOfCapture = 8;

int sourceSide(const TriggerState& s) {
  return 64 * (s.TrigSource & 1);
}
int digitalSource(const TriggerState& s) {
  return s.TrigSource > 1 ? 64 : 0;
}
int slopeBit(const TriggerState& s) {
  return 64 * (1 - s.TrigSlope);
}

void showWait(Scope& s, const char* first) {
  showStatus(s, first, "  Press [STOP] to exit");
}

void hideWait(Scope& s) {
  s.panel.Trigwait.visible = false;
}

bool captureEnded(Scope& s) {
  return (s.port.InPort(s.StatusPort) & kEndOfCapture) != 0;
}

// A command file that cannot be removed and has already run does not count: it would
// end every run after its first capture.
bool commandFilePresent(Scope& s) {
  return commandFileWaiting(s);
}

void poll(Scope& s) {
  s.host.Sleep(20);
  s.host.DoEvents();
}

void startTriggered(Scope& s) {
  WriteReg(s, s.RateCode + digitalSource(s), 16 + sourceSide(s) + slopeBit(s));
}

// How one pass of the triggered wait ended: the capture is complete, the wait must end
// without it (STOP, command file, level or mode change), no trigger came in time, or the
// auto trigger gave up waiting (at `autoAt` on the host's clock; never when it is off).
enum class Pass { Ended, Abandoned, NoTrigger, Auto };

Pass triggeredPass(Scope& s, double autoAt) {
  for (int i = 1; i <= s.WaitLoops; ++i) {
    poll(s);
    if (s.RunFlag == 0) return Pass::Abandoned;
    if (commandFilePresent(s)) {
      s.RunFlag = 0;
      return Pass::Abandoned;
    }
    if (s.TrigLevelCode != s.ArmedTrigLevel) return Pass::Abandoned;
    if (s.TrigMode != s.ArmedTrigMode) return Pass::Abandoned;
    if (captureEnded(s)) return Pass::Ended;
    if (s.host.Now() >= autoAt) return Pass::Auto;
  }
  return Pass::NoTrigger;
}

// A long instant capture shows how far it has come, refreshed as the tenths change.
class Progress {
 public:
  Progress(Scope& s, const char* first) : s_(s), first_(first) {
    expected_ = captureSeconds(s);
    startedAt_ = s.host.Now();
  }
  void show() {
    if (expected_ <= kProgressAbove) return;
    const std::string line = progressLine(s_.host.Now() - startedAt_, expected_);
    if (line == shown_ && s_.panel.Trigwait.visible) return;
    shown_ = line;
    showStatus(s_, first_, "  Press [STOP] to exit");
    // A third line fits the box only in a smaller plain font.
    PictureArea& box = s_.panel.Trigwait;
    const double size = box.fontSize;
    const bool bold = box.fontBold;
    box.fontSize = 8;
    box.fontBold = false;
    box.print(line);
    box.fontSize = size;
    box.fontBold = bold;
  }

 private:
  Scope& s_;
  const char* first_;
  double expected_ = 0, startedAt_ = 0;
  std::string shown_;
};
}  // namespace

void ADCconvert(Scope& s) {
  if (s.SampleCount != s.LoadedSampleCount) {
    SETMAXLOOP(s);
    reloadloop(s);
    s.LoadedSampleCount = s.SampleCount;
  }
  s.handling.lastCaptureAuto = false;
  if (s.TrigMode > 0) {
    trigconvert(s);
  } else {
    autoconvert(s);
  }
  if (s.CaptureDone != 1) return;
  if (s.ChanAOn == 1 || s.ChanCOn == 1) {
    readbufferA(s);
    s.FftDoneA = 0;
  }
  if (s.ChanBOn == 1 || s.ChanDOn == 1) {
    readbufferB(s);
    s.FftDoneB = 0;
  }
}

void autoconvert(Scope& s) {
  const int side = sourceSide(s);
  WriteReg(s, s.PortIdle, side);
  s.host.Sleep(1);
  WriteReg(s, s.RateCode, side + 2);

  s.RemoteFilePath = s.RemotePrefix + "com.txt";
  s.WaitLoops = 100;
  const char* first = s.handling.lastCaptureAuto ? "   AUTO: no trigger" : "   Wait... capturing";
  Progress progress(s, first);
  if (s.RateCode == 5) {
    s.WaitLoops = toInt16(s.SampleCount * 2000.0 / 65578 + 100);
    showWait(s, first);
  } else if (s.RateCode == 4) {
    s.WaitLoops = toInt16(s.SampleCount * 100.0 / 65578 + 100);
  }
  progress.show();

  // The end bit or the command file ends the wait with a capture to read, on any poll
  // including the last one; STOP and running out of polls end it without.
  bool complete = false;
  for (int i = 1; i <= s.WaitLoops; ++i) {
    poll(s);
    if (captureEnded(s)) {
      complete = true;
      break;
    }
    progress.show();
    if (s.RunFlag == 0) break;
    if (commandFilePresent(s)) {
      hideWait(s);
      s.RunFlag = 0;
      complete = true;
      break;
    }
  }
  hideWait(s);
  s.host.DoEvents();
  if (complete) s.CaptureDone = 1;
}

void trigconvert(Scope& s) {
  s.host.DoEvents();
  s.TrigArmed = 1;
  const int side = sourceSide(s), digital = digitalSource(s), slope = slopeBit(s);
  WriteReg(s, s.PortIdle + 16 + digital, side + slope);
  ClockPair(s, s.TrigLevelCode & 255, (s.TrigLevelCode & 3840) / 256);
  startTriggered(s);
  s.ArmedTrigLevel = s.TrigLevelCode;
  s.ArmedTrigMode = s.TrigMode;

  s.RemoteFilePath = s.RemotePrefix + "com.txt";
  s.WaitLoops = 100;
  const double autoAt =
      s.handling.autoTrigger ? s.host.Now() + captureSeconds(s) + kAutoTriggerGrace : HUGE_VAL;
  Pass pass = Pass::NoTrigger;
  while (s.TrigArmed == 1) {
    pass = triggeredPass(s, autoAt);
    if (pass == Pass::Abandoned || pass == Pass::Auto || s.RunFlag == 0) break;
    if (pass == Pass::Ended) {
      s.TrigArmed = 0;
      s.CaptureDone = 1;
      break;
    }
    // No trigger within the pass: start again and tell the user we are still waiting.
    startTriggered(s);
    showWait(s, "   Waiting For Capture");
    s.host.DoEvents();
  }
  hideWait(s);
  WriteReg(s, s.PortIdle, 0);
  if (pass == Pass::Auto && s.RunFlag == 1) {
    // No trigger within the capture's own time and a little more: take one at once, so a
    // signal that never crosses the level is still seen. The mark says it was not triggered.
    s.TrigArmed = 0;
    s.handling.lastCaptureAuto = true;
    showWait(s, "   AUTO: no trigger");
    autoconvert(s);
  }
}

}  // namespace qvx
