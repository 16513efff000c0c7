#include <gtest/gtest.h>

#include <tuple>

#include "acquisition/capture.h"
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

// Runs one capture the way the run engine does, through the real procedures.
void capture(Rig& rig, int trigMode, int rateCode, int level, std::int32_t pretrig) {
  Scope& s = rig.scope;
  initport(s);
  s.RangeA = 0;
  s.CouplingA = 1;
  s.TrigMode = trigMode;
  s.ChannelConfig = channelConfigByte(s, s);
  SETCHAB(s);
  s.SampleCount = 2048;
  s.RateCode = rateCode;
  s.TrigLevelCode = level;
  s.PretrigPoints = pretrig;
  s.RunFlag = 1;
  s.CaptureDone = 0;
  ADCconvert(s);
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

TEST(CaptureEndToEnd, NoTriggerKeepsWaitingUntilStop) {
  sim::Config config;
  config.inputs.a = {AnalogSignal::Shape::Dc, 0, 0, 0};
  Rig rig(config);
  rig.scope.BufA.assign(65536, 1111);
  rig.host.atTime(7, [&] { rig.scope.RunFlag = 0; });
  capture(rig, 1, 2, 3000, 0);
  EXPECT_EQ(rig.scope.CaptureDone, 0);
  EXPECT_EQ(rig.scope.BufA[0], 1111);
  EXPECT_GE(rig.host.clock, 6.99);
}

}  // namespace
}  // namespace qvx
