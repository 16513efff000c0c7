#include "counter/counter.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "acquisition/channels.h"
#include "core/whole_file.h"
#include "counter/panel.h"
#include "counter/recorder.h"
#include "device/link.h"

namespace qvx {

namespace {

constexpr int kStatus = 128, kHighByte = 96, kMiddleByte = 64, kLowByte = 32, kIdle = 0;
constexpr int kEnded = 128, kOverLimit = 64, kTopBits = 63;
constexpr int kManual = 2;
constexpr int kReadDirection = 0x22;
constexpr int kOutputRegister = 38;  // the counter's set-up travels with the generator output
constexpr int kComparator = 2;
constexpr int kPollMs = 10, kWaitMs = 50, kRepeatPauseMs = 1000;

enum class Next { Restart, Poll, End };

void setReadout(Scope& s, Colour back) {
  s.panel.Countdisp.setBackColour(back);
}

bool settingsChanged(const CounterState& s) {
  return s.FCntSource != s.FCntArmedSource || s.FCntStSp != s.FCntArmedStSp ||
         s.FCntMode != s.FCntArmedMode;
}

// Selects the status and reads it from the data lines, then lets the window run.
int pollStatus(Scope& s) {
  s.CounterControl = counterControlByte(s, kStatus);
  setchabF(s);
  s.port.OutPort(s.ControlPort, kReadDirection);
  const int status = s.port.InPort(s.DataPort);
  s.host.Sleep(kPollMs);
  s.host.DoEvents();
  return status;
}

// The whole 30-bit count: the status's top bits, then the three count bytes.
void readCount(Scope& s, int status) {
  s.FCntValue = status & kTopBits;
  FCntDataRead(s);
  s.FCntNote.clear();
}

// A count cleared by Reset is a current value too.
void clearCount(Scope& s) {
  s.FCntValue = 0;
  s.FCntNote.clear();
}

// A remote run waits for prefix + "Fdata.txt": one line of the ten digits, written so
// that the reader never finds half of it. A failure is reported and otherwise ignored.
void writeResultFile(const CounterState& counter, const RemoteState& remote) {
  writeWholeFile(remote.RemotePrefix + "Fdata.txt", counter.FCntText + "\r\n");
}

Next frequencyReading(Scope& s, int status) {
  if (!(status & kEnded)) return Next::Poll;
  readCount(s, status);
  s.FCntLastReading = s.FCntValue;
  setReadout(s, kCountIdle);
  CountDisplay(s);
  ++s.FCntReadings;
  s.host.DoEvents();
  FRecTest(s);
  if (s.RemoteExecute == 1) {
    s.RunFlag = 0;
    s.RemoteExecute = 0;
    writeResultFile(s, s);
  }
  if (s.FCntOneReading == 1) s.RunFlag = 0;
  return s.RunFlag == 0 ? Next::End : Next::Restart;
}

// Waits in short steps, so STOP acts at once; false when the run was stopped.
bool pause(Scope& s, int ms) {
  for (int waited = 0; waited < ms; waited += kWaitMs) {
    s.host.Sleep(kWaitMs);
    s.host.DoEvents();
    if (s.RunFlag == 0) return false;
  }
  return true;
}

// The count has ended: show it, then restart by itself (Repeat with C or D control) or
// wait for Reset, STOP or another start/stop control.
Next endedCount(Scope& s, int status) {
  readCount(s, status);
  setReadout(s, (status & kOverLimit) ? kCountEndWhite : kCountEndOrange);
  CountDisplay(s);
  ++s.FCntReadings;
  s.host.DoEvents();
  if (s.RunFlag == 0) return Next::End;
  if (s.FCntRepeat == 1 && s.FCntStSp != kManual) {
    if (!pause(s, kRepeatPauseMs)) return Next::End;
    setReadout(s, kCountIdle);
    return Next::Restart;
  }
  for (;;) {
    s.host.Sleep(kWaitMs);
    s.host.DoEvents();
    if (s.FCntResetReq == 1) {
      clearCount(s);
      setReadout(s, kCountIdle);
      CountDisplay(s);
      return Next::Restart;
    }
    if (s.RunFlag == 0) return Next::End;
    if (s.FCntStSp != s.FCntArmedStSp) return Next::Restart;
  }
}

// The count is still running: hold it for a moment, read it and show it as it grows.
Next runningCount(Scope& s, int status) {
  s.CounterEnable = 0;
  setchabF(s);
  readCount(s, status);
  s.CounterEnable = 1;
  setchabF(s);
  if (status & kOverLimit) setReadout(s, kCountOverLimit);
  showCount(s);
  s.host.Sleep(kWaitMs);
  s.host.DoEvents();
  if (s.RunFlag == 0) return Next::End;
  if (s.FCntResetReq == 1) {
    clearCount(s);
    setReadout(s, kCountIdle);
    CountDisplay(s);
    return Next::Restart;
  }
  return Next::Poll;
}

// Counting the generator's output through the comparator: an output that never rises
// through the level is never counted, and the readout says why instead of a dead count.
void noteUnseenOutput(Scope& s) {
  if (!countsGeneratorOutput(s)) return;
  const char* note = outputLevelNote(s);
  if (note)
    s.FCntNote = note;
  else if (s.FCntNote == kCountBelowLevel || s.FCntNote == kCountAboveLevel)
    s.FCntNote = kCountNoReading;
  showCount(s);
}

void restart(Scope& s) {
  noteUnseenOutput(s);
  s.FCntResetReq = 0;
  s.FCntManualState = 0;
  FCntStatUpdate(s, s, s);
  FCntSetup(s);
  FCntStatUpdate(s, s, s);
  FCntResetCheck(s);
}

Next poll(Scope& s) {
  if (settingsChanged(s)) {
    setReadout(s, kCountIdle);
    CountDisplay(s);
    return Next::Restart;
  }
  if (s.TrigLevelCode != s.ArmedTrigLevel) {
    FCntTrigLevelUpdate(s);
    s.ArmedTrigLevel = s.TrigLevelCode;
  }
  const int status = pollStatus(s);
  if (s.RunFlag == 0) return Next::End;
  if (s.FCntMode == 0) return frequencyReading(s, status);
  if ((status & kEnded) || s.FCntManualState == 2) return endedCount(s, status);
  return runningCount(s, status);
}

}  // namespace

int counterControlByte(const CounterState& s, int function) {
  return function + s.FCntSource + 4 * s.FCntStSp + (s.FCntManualState == 1 ? 16 : 0);
}

bool countsGeneratorOutput(const InstrumentState& s) {
  return s.CounterRegSel == kOutputRegister && s.FCntSource == kComparator;
}

const char* outputLevelNote(const InstrumentState& s) {
  const std::int32_t last =
      std::clamp<std::int32_t>(s.DacLastIndex, 0, static_cast<std::int32_t>(s.GenTable.size()) - 1);
  const auto begin = s.GenTable.begin(), end = begin + last + 1;
  const auto [low, high] = std::minmax_element(begin, end);
  if (*high < s.TrigLevelCode) return kCountBelowLevel;
  if (*low >= s.TrigLevelCode) return kCountAboveLevel;
  return nullptr;
}

std::string countText(std::int32_t value) {
  const std::string digits = "0000000000" + std::to_string(value);
  return digits.substr(digits.size() - 10);
}

void FCntMain(Scope& s) {
  s.FCntReadings = 0;
  Next next = Next::Restart;
  while (next != Next::End) {
    if (next == Next::Restart) restart(s);
    next = poll(s);
  }
  s.CounterControl = kIdle;
  s.CounterEnable = 0;
  s.CounterClear = 0;
  setchabF(s);
  // STOP during a gate leaves the last completed reading on show, not the cleared count
  // of the gate that was cut short.
  if (s.FCntMode == 0 && s.FCntReadings > 0 && !settingsChanged(s)) s.FCntValue = s.FCntLastReading;
  CountDisplay(s);
}

void FCntSetup(Scope& s) {
  s.FCntValue = 0;
  s.CounterClear = 1;
  s.CounterEnable = 1;
  s.FCntResetReq = 0;
  FCntStatUpdate(s, s, s);
  s.CounterControl = counterControlByte(s, kStatus);
  setchabF(s);
  FCntTrigLevelUpdate(s);
  s.CounterClear = 0;
  setchabF(s);
}

void FCntDataRead(Scope& s) {
  std::int64_t value = s.FCntValue;
  for (int function : {kHighByte, kMiddleByte, kLowByte}) {
    s.CounterControl = counterControlByte(s, function);
    setchabF(s);
    s.port.OutPort(s.ControlPort, kReadDirection);
    value = value * 256 + s.port.InPort(s.DataPort);
    s.port.OutPort(s.ControlPort, 0);
  }
  s.FCntValue = static_cast<std::int32_t>(value);
  s.CounterControl = counterControlByte(s, kIdle);
  setchabF(s);
  s.port.OutPort(s.ControlPort, 0);
}

void FCntTrigLevelUpdate(Scope& s) {
  const int side = 64 * (s.TrigSource & 1);
  const int digital = s.TrigSource > 1 ? 64 : 0;
  WriteReg(s, s.CounterRateCode + 16 + digital, s.CounterRegSel + side + 64 * (1 - s.TrigSlope));
  ClockPair(s, s.TrigLevelCode, (s.TrigLevelCode & 3840) / 256);
}

void FCntStatUpdate(const TriggerState& trig, CaptureState& capture, CounterState& counter) {
  counter.FCntArmedMode = counter.FCntMode;
  counter.FCntArmedSource = counter.FCntSource;
  counter.FCntArmedStSp = counter.FCntStSp;
  capture.ArmedTrigLevel = trig.TrigLevelCode;
}

void FCntResetCheck(Scope& s) {
  static const char* const kManualCaptions[] = {"Start", "Stop", "Reset"};
  Button& b = s.panel.FCntResetbutton;
  if (s.FCntStSp < kManual)
    b.caption = "Reset";
  else
    b.caption =
        kManualCaptions[s.FCntManualState >= 0 && s.FCntManualState <= 2 ? s.FCntManualState : 0];
}

void FcntON(Scope& s) {
  Panel& p = s.panel;
  p.Countdisp.setBackColour(kCountIdle);
  p.Countdisp.foreColour = s.TraceColour[0];
  for (Button* b : {&p.FCntResetbutton, &p.FCntModebutton, &p.FCntSourcebutton, &p.FCntStSpbutton})
    b->enabled = true;
  CountDisplay(s);
}

void FCntOFF(Scope& s) {
  Panel& p = s.panel;
  p.Countdisp.setBackColour(kCountOff);
  p.Countdisp.foreColour = 0x808080;
  for (Button* b : {&p.FCntResetbutton, &p.FCntModebutton, &p.FCntSourcebutton, &p.FCntStSpbutton,
                    &p.FCntRepeatButton})
    b->enabled = false;
  showCount(s);
}

}  // namespace qvx
