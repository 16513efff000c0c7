#include <gtest/gtest.h>

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
void capture(Rig& rig, int trigMode, std::int32_t points, int rateCode, int level,
             std::int32_t pretrig) {
  Scope& s = rig.scope;
  initport(s);
  s.RangeA = 0;
  s.CouplingA = 1;
  s.TrigMode = trigMode;
  s.ChannelConfig = channelConfigByte(s);
  SETCHAB(s);
  s.SampleCount = points;
  s.RateCode = rateCode;
  s.TrigLevelCode = level;
  s.PretrigPoints = pretrig;
  s.RunFlag = 1;
  s.CaptureDone = 0;
  ADCconvert(s);
}

TEST(CaptureEndToEnd, PositiveSlopePutsTheCrossingAtIndexZero) {
  Rig rig(sineOnA());
  rig.host.clock = 0.0123;
  const int level = 2048 + 800;
  capture(rig, 1, 2048, 1, level, 0);
  const Scope& s = rig.scope;
  ASSERT_EQ(s.CaptureDone, 1);
  EXPECT_GE(s.BufA[0], level);
  EXPECT_LE(s.BufA[0], level + 2);
  EXPECT_GT(s.BufA[40], s.BufA[0] + 10);  // rising
}

TEST(CaptureEndToEnd, PretriggerShowsTheSignalBeforeTheCrossing) {
  Rig rig(sineOnA());
  rig.host.clock = 0.0123;
  const int level = 2048 - 500;
  capture(rig, 1, 2048, 1, level, 100);
  const Scope& s = rig.scope;
  ASSERT_EQ(s.CaptureDone, 1);
  EXPECT_LT(s.BufA[99], level);
  EXPECT_GE(s.BufA[100], level);
  EXPECT_LE(s.BufA[100], level + 2);
  EXPECT_LT(s.BufA[50], s.BufA[99]);  // the real signal rising towards the level
}

TEST(CaptureEndToEnd, NegativeSlopeGivesAFallingCrossing) {
  Rig rig(sineOnA());
  rig.scope.TrigSlope = -1;
  const int level = 2048 + 300;
  capture(rig, 2, 2048, 1, level, 10);
  const Scope& s = rig.scope;
  ASSERT_EQ(s.CaptureDone, 1);
  EXPECT_GT(s.BufA[9], level);
  EXPECT_LE(s.BufA[10], level);
  EXPECT_GE(s.BufA[10], level - 2);
  EXPECT_LT(s.BufA[60], s.BufA[10] - 10);
}

TEST(CaptureEndToEnd, DigitalSourceTriggersOnItsEdge) {
  Rig rig(sineOnA());
  rig.scope.TrigSource = 2;
  // C is high at arming, so the capture waits for its next rising edge. Arming a
  // quarter sample off the clock's edges keeps every sample clear of an edge.
  rig.host.clock = 0.00005 + 0.25e-6;
  capture(rig, 1, 2048, 2, 2048, 0);
  ASSERT_EQ(rig.scope.CaptureDone, 1);
  EXPECT_EQ(rig.scope.BufC[0], 2560);

  Rig again(sineOnA());
  again.host.clock = 0.25e-6;
  again.scope.TrigSource = 2;
  capture(again, 1, 2048, 2, 2048, 100);
  const Scope& s = again.scope;
  ASSERT_EQ(s.CaptureDone, 1);
  EXPECT_EQ(s.BufC[99], 2048);
  EXPECT_EQ(s.BufC[100], 2560);
  EXPECT_EQ(s.BufC[0], 2048);
  // A 5 kHz clock at 2 MS/s stays high for 200 points.
  EXPECT_EQ(s.BufC[299], 2560);
  EXPECT_EQ(s.BufC[300], 2048);
}

TEST(CaptureEndToEnd, ChannelBStartsAtTheTriggerWhileAIsOn) {
  sim::Config config = sineOnA();
  config.inputs.b = config.inputs.a;
  config.inputs.d = config.inputs.c;
  Rig rig(config);
  rig.scope.RangeB = 0;
  rig.scope.CouplingB = 1;
  capture(rig, 1, 2048, 1, 2048 + 800, 100);
  const Scope& s = rig.scope;
  ASSERT_EQ(s.CaptureDone, 1);
  // B holds the same wave as A, but from the trigger point on.
  EXPECT_EQ(s.BufB[0], s.BufA[100]);
  EXPECT_EQ(s.BufB[500], s.BufA[600]);
}

TEST(CaptureEndToEnd, SlowInstantCaptureEndsOnTheVirtualClock) {
  sim::Config config = sineOnA();
  config.inputs.a.frequency = 10;
  Rig rig(config);
  capture(rig, 0, 65536, 5, 2048, 0);
  const Scope& s = rig.scope;
  ASSERT_EQ(s.CaptureDone, 1);
  EXPECT_GE(rig.host.clock, 32.768);
  EXPECT_LT(rig.host.clock, 32.768 + 0.1);
  // 10 Hz at 2 kS/s: the wave repeats every 200 points.
  for (int i : {0, 777, 40000}) EXPECT_NEAR(s.BufA[i], s.BufA[i + 200], 1);
  EXPECT_EQ(s.LoadedSampleCount, 65536);
}

TEST(CaptureEndToEnd, NoTriggerKeepsWaitingUntilStop) {
  sim::Config config;
  config.inputs.a = {AnalogSignal::Shape::Dc, 0, 0, 0};
  Rig rig(config);
  rig.scope.BufA.assign(65536, 1111);
  rig.host.atTime(7, [&] { rig.scope.RunFlag = 0; });
  capture(rig, 1, 2048, 2, 3000, 0);
  EXPECT_EQ(rig.scope.CaptureDone, 0);
  EXPECT_EQ(rig.scope.BufA[0], 1111);
  EXPECT_GE(rig.host.clock, 6.99);
}

}  // namespace
}  // namespace qvx
