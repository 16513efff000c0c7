#include "generator/stepping.h"

#include <algorithm>

#include "acquisition/readout.h"
#include "core/command_file_watch.h"
#include "core/status_box.h"
#include "device/link.h"
#include "generator/upload.h"
#include "panel/numeric.h"

namespace qvx {

namespace {
constexpr int kRegPrepare = 3, kRegSinglePass = 43, kRegStep = 34;
constexpr int kEndOfPass = 8;
constexpr int kFastestRate = 1;

void clearFrom(SampleBuffer& buf, std::int32_t first, std::int32_t last) {
  if (first < 0) first = 0;
  last = std::min<std::int32_t>(last, static_cast<std::int32_t>(buf.size()) - 1);
  if (first <= last) std::fill(buf.begin() + first, buf.begin() + last + 1, 0);
}

// Reads the pass. The converter delivers each sample a little after the generator
// point it belongs to (six points at the fastest rate, one otherwise); starting the
// readout that much later lines sample i up with point i.
void readPass(Scope& s) {
  s.SampleCount = s.DacLastIndex;
  const std::int32_t keptPretrig = s.PretrigPoints;
  s.PretrigPoints = s.RateCode == kFastestRate ? -6 : -1;
  if (s.ChanAOn == 1 || s.ChanCOn == 1) {
    readbufferA(s);
    s.FftDoneA = 0;
    clearFrom(s.BufA, s.DacLastIndex, s.BufLast);
  }
  if (s.ChanBOn == 1 || s.ChanDOn == 1) {
    readbufferB(s);
    s.FftDoneB = 0;
    clearFrom(s.BufB, s.DacLastIndex, s.BufLast);
  }
  s.PretrigPoints = keptPretrig;
}
}  // namespace

int stepWaitLoops(int rateCode, std::int32_t lastIndex) {
  // The divisor is 65578, not 65536: the limits the instrument has always used.
  if (rateCode == 5) return toInt16(lastIndex * 2000.0 / 65578 + 100);
  if (rateCode == 4) return toInt16(lastIndex * 100.0 / 65578 + 100);
  return 100;
}

void DACADCONCE(Scope& s) {
  WriteRegPulse(s, s.PortIdle, kRegPrepare);
  WriteRegPulse(s, s.PortIdle, kRegSinglePass);
  reloadloop(s);
  WriteReg(s, s.PortIdle, kRegStep);
  // The output holds the first point so that a load can settle; the window waits too.
  s.host.Sleep(static_cast<int>(s.StepPreDelay * 1000));
  WriteReg(s, s.RateCode, kRegStep);
}

void DACADC(Scope& s) {
  DACZERO(s);
  DACWRITE(s);

  showStatus(s, "Generating & Sampling", "   Press [STOP] to exit");
  PictureArea& box = s.panel.Trigwait;
  s.host.DoEvents();

  DACADCONCE(s);

  s.RemoteFilePath = s.RemotePrefix + "com.txt";
  s.WaitLoops = stepWaitLoops(s.RateCode, s.DacLastIndex);

  // An end seen on any poll, the last one included, ends the pass with data to read;
  // STOP, the command file or running out of polls end it without.
  bool ended = false;
  for (int i = 1; i <= s.WaitLoops; ++i) {
    s.host.DoEvents();
    s.host.Sleep(20);
    if ((s.port.InPort(s.StatusPort) & kEndOfPass) != 0) {
      ended = true;
      break;
    }
    s.host.DoEvents();
    if (s.RunFlag == 0) break;
    if (commandFileWaiting(s)) {
      box.visible = false;
      s.RunFlag = 0;
      break;
    }
  }
  s.host.DoEvents();
  if (ended) s.CaptureDone = 1;
  if (s.RunFlag == 0) s.CaptureDone = 0;

  WriteReg(s, s.PortIdle, kRegStep);
  if (s.CaptureDone == 1) readPass(s);

  box.cls();
  box.visible = false;
  s.host.DoEvents();
}

}  // namespace qvx
