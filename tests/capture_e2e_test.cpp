#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "acquisition/capture.h"
#include "acquisition/capture_time.h"
#include "acquisition/channels.h"
#include "device/link.h"
#include "rig.h"

namespace qvx {
namespace {

using sim::AnalogSignal;
using testing::Rig;

// A 1 kHz sine of 0.8 V on A, seen on the 1 V range with DC coupling, sampled at
// 20 MS/s: about half a code per sample, so a crossing lands within a code of the level.
sim::Config sineOnA() {
  sim::Config c;
  c.inputs.a = {AnalogSignal::Shape::Sine, 1000, 0.8, 0};
  c.inputs.c = {5000, 50};
  return c;
}

// Sets up one capture of A on the 1 V range with DC coupling the way the run engine does,
// through the real procedures, up to the capture itself.
void prepare(Rig& rig, int trigMode, int rateCode, int level, std::int32_t pretrig,
             std::int32_t count = 2048) {
  Scope& s = rig.scope;
  initport(s);
  s.RangeA = 0;
  s.CouplingA = 1;
  s.TrigMode = trigMode;
  s.ChannelConfig = channelConfigByte(s, s);
  SETCHAB(s);
  s.SampleCount = count;
  s.RateCode = rateCode;
  s.TrigLevelCode = level;
  s.PretrigPoints = pretrig;
  s.RunFlag = 1;
  s.CaptureDone = 0;
}

void capture(Rig& rig, int trigMode, int rateCode, int level, std::int32_t pretrig) {
  prepare(rig, trigMode, rateCode, level, pretrig);
  ADCconvert(rig.scope);
}

TEST(CaptureEndToEnd, TheCrossingLandsAtThePretriggerIndexOnTheChosenSlope) {
  for (auto [trigMode, slope, level, pretrig] :
       {std::tuple{1, 1, 2048 + 800, 0}, {1, 1, 2048 - 500, 100}, {2, -1, 2048 + 300, 10}}) {
    SCOPED_TRACE(pretrig);
    Rig rig(sineOnA());
    rig.host.clock = 0.0123;
    rig.scope.TrigSlope = slope;
    capture(rig, trigMode, 1, level, pretrig);
    const SampleBuffer& a = rig.scope.BufA;
    const int p = pretrig;
    ASSERT_EQ(rig.scope.CaptureDone, 1);
    // At the crossing: within two codes past the level, moving on in the slope's direction.
    EXPECT_GE(slope * (a[p] - level), 0);
    EXPECT_LE(slope * (a[p] - level), 2);
    EXPECT_GT(slope * (a[p + 40] - a[p]), 10);
    if (p > 0) EXPECT_LT(slope * (a[p - 1] - level), 0);
    if (p >= 100) EXPECT_GT(a[p - 1], a[p - 50]);  // the real signal rising towards the level
  }
}

TEST(CaptureEndToEnd, DigitalSourceTriggersOnItsNextRisingEdge) {
  Rig rig(sineOnA());
  // C is high at arming, so the capture waits for its next rising edge. Arming a
  // quarter sample off the clock's edges keeps every sample clear of an edge.
  rig.host.clock = 0.25e-6;
  rig.scope.TrigSource = 2;
  capture(rig, 1, 2, 2048, 100);
  const Scope& s = rig.scope;
  ASSERT_EQ(s.CaptureDone, 1);
  // Low up to the pretrigger index; a 5 kHz clock at 2 MS/s then stays high for 200 points.
  for (auto [i, code] : {std::pair{0, 2048}, {99, 2048}, {100, 2560}, {299, 2560}, {300, 2048}})
    EXPECT_EQ(s.BufC[i], code) << i;
}

// 0 V on A, which never reaches a level of +0.46 V on the 1 V range.
sim::Config dcOnA() {
  sim::Config c;
  c.inputs.a = {AnalogSignal::Shape::Dc, 0, 0, 0};
  return c;
}

// What one triggered capture of 65,536 points at 2 MS/s (32.8 ms) showed, and when.
struct Watched {
  double armedAt = -1, autoShownAt = -1, endedAt = -1;
  std::string autoText;
};

Watched triggeredCapture(Rig& rig, bool autoTrigger, double stopAt) {
  Scope& s = rig.scope;
  prepare(rig, 1, 2, 2048 + 950, 0, 65536);
  s.handling.autoTrigger = autoTrigger;
  s.BufA.assign(65536, 1111);
  Watched w;
  rig.host.onPump = [&] {
    if (w.armedAt < 0) w.armedAt = rig.host.clock;  // trigconvert's first pump, just before arming
    const std::string shown = s.panel.Trigwait.visible ? s.panel.Trigwait.texts() : "";
    if (w.autoShownAt < 0 && shown.find("AUTO") != std::string::npos) {
      w.autoShownAt = rig.host.clock;
      w.autoText = shown;
    }
    if (rig.host.clock >= stopAt) s.RunFlag = 0;
  };
  ADCconvert(s);
  w.endedAt = rig.host.clock;
  rig.host.onPump = nullptr;
  return w;
}

TEST(AutoTrigger, AnUntriggeredCaptureIsTakenAtOnceAfterItsOwnTimeAndAHundredMs) {
  Rig rig(dcOnA());
  const double captureTime = 65536 / 2e6;
  const Watched w = triggeredCapture(rig, true, 10);
  const Scope& s = rig.scope;
  ASSERT_EQ(s.CaptureDone, 1);
  EXPECT_TRUE(s.handling.lastCaptureAuto);
  EXPECT_EQ(w.autoText, "   AUTO: no trigger|  Press [STOP] to exit");
  // The instant capture starts at the first 20 ms poll at or after capture time + 100 ms
  // from arming; the box is first seen at the pump of the instant capture's first poll,
  // 1 + 20 ms after its start.
  const double switchedAt = w.autoShownAt - 0.021 - w.armedAt;
  EXPECT_GE(switchedAt, captureTime + 0.1 - 1e-9);
  EXPECT_LT(switchedAt, captureTime + 0.1 + 0.02);
  // The data arrive one capture time after the switch, at the next poll.
  const double arrived = w.endedAt - w.armedAt;
  EXPECT_GE(arrived, switchedAt + captureTime);
  EXPECT_LT(arrived, switchedAt + captureTime + 0.05);
  // The buffer holds the 0 V input, read from the instant capture.
  for (int i : {0, 1000, 65535}) EXPECT_NEAR(s.BufA[i], 2048, 2) << i;
  EXPECT_FALSE(s.panel.Trigwait.visible);
}

TEST(AutoTrigger, OffItWaitsForATriggerUntilStop) {
  Rig rig(dcOnA());
  const Watched w = triggeredCapture(rig, false, 5);
  EXPECT_EQ(rig.scope.CaptureDone, 0);
  EXPECT_FALSE(rig.scope.handling.lastCaptureAuto);
  EXPECT_LT(w.autoShownAt, 0);
  EXPECT_GE(w.endedAt - w.armedAt, 4.99);
  EXPECT_EQ(rig.scope.BufA[0], 1111);
}

TEST(AutoTrigger, StopDuringTheAutoWaitReadsNothing) {
  Rig rig(dcOnA());
  const Watched w = triggeredCapture(rig, true, 0.06);
  EXPECT_EQ(rig.scope.CaptureDone, 0);
  EXPECT_LT(w.autoShownAt, 0);
  EXPECT_EQ(rig.scope.BufA[0], 1111);
}

TEST(CaptureProgress, ALongCaptureShowsElapsedAndExpectedTime) {
  Rig rig;
  Scope& s = rig.scope;
  initport(s);
  s.TrigMode = 0;
  s.SampleCount = 4096;
  s.RateCode = 4;  // 20 kS/s: 0.2 s, no progress
  std::string shown;
  rig.host.onPump = [&] {
    if (s.panel.Trigwait.visible && shown.empty()) shown = s.panel.Trigwait.texts();
  };
  s.RunFlag = 1;
  ADCconvert(s);
  EXPECT_EQ(shown, "");
  EXPECT_EQ(s.CaptureDone, 1);

  s.RateCode = 5;  // 2 kS/s: 2.048 s
  std::vector<std::string> seen;
  rig.host.onPump = [&] {
    const std::string t = s.panel.Trigwait.texts();
    if (s.panel.Trigwait.visible && (seen.empty() || seen.back() != t)) seen.push_back(t);
  };
  s.CaptureDone = 0;
  ADCconvert(s);
  EXPECT_EQ(s.CaptureDone, 1);
  ASSERT_GE(seen.size(), 15u);
  EXPECT_EQ(seen.front(), "   Wait... capturing|  Press [STOP] to exit|  0.0 s of 2.0 s");
  EXPECT_NE(std::find(seen.begin(), seen.end(),
                      "   Wait... capturing|  Press [STOP] to exit|  1.0 s of 2.0 s"),
            seen.end());
  EXPECT_EQ(seen.back().substr(seen.back().size() - 14), "2.0 s of 2.0 s");
  EXPECT_FALSE(s.panel.Trigwait.visible);
}

}  // namespace
}  // namespace qvx
