#include <gtest/gtest.h>

#include <deque>

#include "counter/counter.h"
#include "device/recorder.h"
#include "expected_conversation.h"
#include "scripted_host.h"
#include "sim/counter_unit.h"
#include "sim/edges.h"

namespace qvx {
namespace {

using sim::AnalogSignal;
using sim::CounterUnit;
using sim::TriggerCondition;

// The comparator's rising verdicts from 0.123 ms to 17.3 ms, counted in closed form and
// found the slow way, sampling every 0.2 us.
TEST(CounterEdges, ClosedFormAgreesWithSamplingForEveryShapeLevelAndSlope) {
  using Shape = AnalogSignal::Shape;
  for (Shape shape : {Shape::Sine, Shape::Triangle, Shape::Square})
    for (int level : {300, 1500, 2048, 2600, 3900})
      for (bool negative : {false, true})
        for (int frontEnd : {0, sim::frontend::RangeA10V, sim::frontend::AcA}) {
          sim::Inputs in;
          in.a = {shape, 1000, 0.7, 0.2};
          const TriggerCondition c{0, negative, level, false};
          auto beyond = [&](double t) {
            const int code = sim::analogueCode(in, frontEnd, c.source, sim::toTicks(t));
            return negative ? code <= level : code >= level;
          };
          std::int64_t scanned = 0;
          bool before = beyond(0.000123);
          for (double t = 0.000123 + 2e-7; t <= 0.0173; t += 2e-7) {
            const bool now = beyond(t);
            scanned += now && !before;
            before = now;
          }
          EXPECT_EQ(sim::comparatorEdges(in, frontEnd, c)
                        .count(sim::toTicks(0.000123), sim::toTicks(0.0173)),
                    scanned)
              << "shape " << static_cast<int>(shape) << " level " << level << " negative "
              << negative << " front " << frontEnd;
        }
}

TEST(CounterEdges, ScannedWaveFindsTheSameCrossingsAsTheClosedForm) {
  sim::Inputs in;
  in.a = {AnalogSignal::Shape::Sine, 1000, 0.7, 0};
  const TriggerCondition c{0, true, 2300, false};
  const auto closed = sim::comparatorEdges(in, 0, c);
  const auto scanned = sim::scannedComparatorEdges(in.a, false, 1, c, 4096);
  ASSERT_EQ(scanned.phases.size(), 1u);
  EXPECT_NEAR(scanned.phases[0], closed.phases[0], 1.0 / 4096);
  EXPECT_EQ(scanned.count(sim::toTicks(0.3), sim::toTicks(1.3)), 1000);
}

// A counter with its source and control, driven the way the program drives it.
struct Unit {
  sim::Inputs in;
  TriggerCondition comparator;
  CounterUnit counter{in, comparator};
  int control = 0;
  void arm(int source, int stsp, double at) {
    control = source + 4 * stsp;
    counter.load(128 + control, 128 + 32, sim::toTicks(at));
    counter.load(128 + control, 32, sim::toTicks(at));
  }
  // The 30-bit count as the program reads it: status top bits, then three bytes.
  std::int64_t read(double at, int& status) {
    counter.load(128 + control, 32, sim::toTicks(at));
    status = counter.dataLines(sim::toTicks(at));
    std::int64_t v = status & 63;
    for (int f : {96, 64, 32}) {
      counter.load(f + control, 32, sim::toTicks(at));
      v = v * 256 + counter.dataLines(sim::toTicks(at));
    }
    return v;
  }
};

TEST(CounterUnit, OneSecondGateOnTwentyMegahertzEndsAndReadsBackThroughTheBytes) {
  Unit u;
  u.in.c = {20e6, 50};
  u.arm(0, 3, 100.25);
  int status = 0;
  EXPECT_EQ(u.read(100.75, status), 10'000'000);
  EXPECT_EQ(status & 128, 0);
  EXPECT_EQ(u.read(101.5, status), 20'000'000);
  EXPECT_EQ(status & 0xC0, 128);
}

TEST(CounterUnit, RunBitHoldsTheCountWhileOff) {
  Unit u;
  u.arm(1, 3, 0);  // D: 2 kHz
  u.counter.load(128 + u.control, 0, sim::toTicks(0.2));
  u.counter.load(128 + u.control, 32, sim::toTicks(0.7));
  int status = 0;
  EXPECT_EQ(u.read(2, status), 1000);  // 0.5 s of the second counted
}

TEST(CounterUnit, OverTheLimitSetsBitSixAndTheCountSaturates) {
  Unit u;
  u.arm(3, 2, 0);   // the reference, manual control
  u.control += 16;  // Start
  int status = 0;
  EXPECT_EQ(u.read(1, status), 0);
  EXPECT_EQ(u.read(1000, status), 999'000'000);
  EXPECT_EQ(status & 64, 0);
  EXPECT_EQ(u.read(1100, status), CounterUnit::kMaxCount);
  EXPECT_EQ(status, 0x40 | 0x3F);  // over the limit, still counting
  u.control -= 16;                 // Stop
  EXPECT_EQ(u.read(1101, status), CounterUnit::kMaxCount);
  EXPECT_EQ(status, 0x80 | 0x40 | 0x3F);
}

// A port whose data lines give canned bytes, in the order the program reads them.
struct CannedPort : PortIO {
  std::deque<std::uint8_t> data;
  void OutPort(std::uint32_t, std::uint8_t) override {}
  std::uint8_t InPort(std::uint32_t address) override {
    if (address != 0x378 || data.empty()) return 0;
    const std::uint8_t b = data.front();
    data.pop_front();
    return b;
  }
};

TEST(CounterRead, StatusBFThenThreeFFBytesReadsAllThirtyBits) {
  testing::ScriptedHost host;
  CannedPort canned;
  RecordingPort port(&canned);
  Scope s(host, port);
  host.panel = &s.panel;
  canned.data = {0xBF, 0xFF, 0xFF, 0xFF};
  s.FCntSource = 1;
  s.FCntStSp = 3;
  s.CounterRateCode = 2;
  s.RunFlag = 1;
  host.onPump = [&] { s.RunFlag = s.FCntReadings >= 1 ? 0 : s.RunFlag; };
  FCntMain(s);
  EXPECT_EQ(s.FCntValue, 1073741823);
  EXPECT_EQ(s.panel.Countdisp.texts(), "1073741823  ");

  // The read itself, byte by byte: select each count byte with the counter set-up
  // (rate code + 32, then control and front end), turn the data lines round, read, back.
  port.log.clear();
  canned.data = {0x12, 0x34, 0x56};
  s.FCntValue = 0x05;
  s.CounterEnable = 1;
  FCntDataRead(s);
  EXPECT_EQ(s.FCntValue, 0x05123456);
  testing::Conversation c;
  for (auto [function, byte] : {std::pair{96, 0x12}, {64, 0x34}, {32, 0x56}}) {
    c.writeReg(34, 0);
    c.clockPair(function + 13, 32);
    c.control(0x22);
    c.read(byte);
    c.control(0);
  }
  c.writeReg(34, 0);
  c.clockPair(13, 32);
  c.control(0);
  EXPECT_EQ(port.log, c.log);
}

}  // namespace
}  // namespace qvx
