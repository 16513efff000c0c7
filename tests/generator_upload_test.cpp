#include <gtest/gtest.h>

#include <algorithm>

#include "device/link.h"
#include "expected_conversation.h"
#include "generator/generator.h"
#include "rig.h"

namespace qvx {
namespace {

using testing::Conversation;

struct Upload : ::testing::Test {
  testing::Rig rig;
  Scope& s = rig.scope;
  void SetUp() override {
    initport(s);
    rig.port.log.clear();
  }
  // Builds the table for `freq` and sets the output's length and rate code from it.
  void buildFor(double freq) {
    s.GenFreq = freq;
    GENUPDATEBUTTON_Click(s);
    s.DacLastIndex = static_cast<std::int32_t>(s.GenLastIndex);
    s.RateCode = 5 - s.GenRateIndex0;
  }
};

// 4095, 2048 and 1 on the wire, low nibble first; the memory past the wave is skipped
// with strobes: 57537 of them after 8000 points.
TEST_F(Upload, DacwriteSendsEachCodeLowNibbleFirstThenStrobesPastTheRestOfTheMemory) {
  s.GenTable[0] = 4095;
  s.GenTable[1] = 2048;
  s.GenTable[2] = 1;
  for (auto [last, filler] : {std::pair{2, 65534}, {7999, 57537}}) {
    s.DacLastIndex = last;
    rig.port.log.clear();
    DACWRITE(s);
    Conversation c;
    c.writeRegPulse(0, 7);
    c.writeReg(0, 10);
    c.clockPair(0x0F, 0xFF);
    c.clockPair(0x00, 0x80);
    c.clockPair(0x01, 0x00);
    for (int i = 3; i <= last; ++i) c.clockPair(s.GenTable[i] & 15, s.GenTable[i] >> 4);
    c.writeReg(0, 2);
    c.writeRegPulse(0, 7);
    c.writeReg(0, 6);
    c.data(0);
    for (int i = 0; i < filler; ++i) c.strobe();
    c.writeReg(128, 3);
    c.writeReg(0, 0);
    EXPECT_EQ(rig.port.log, c.log) << last;
    EXPECT_EQ(rig.instrument.loopLength(), last);
  }
  const auto& memory = rig.instrument.generatorMemory();
  EXPECT_EQ(std::vector<int>(memory.begin(), memory.begin() + 3),
            (std::vector<int>{4095, 2048, 1}));
}

TEST_F(Upload, DaccontStartsTheOutputAtTheRateCode) {
  s.RateCode = 1;
  DACCONT(s);
  Conversation c;
  c.writeRegPulse(0, 11);
  c.writeRegPulse(0, 0);
  c.writeReg(0, 2);
  c.writeReg(0, 38);
  c.writeReg(1, 38);
  EXPECT_EQ(rig.port.log, c.log);
}

TEST_F(Upload, GeneratorRunStopsTheOutputAndClearsTheMemoryAfterTheCounter) {
  buildFor(1000);
  std::string shown;
  rig.host.onPump = [&] { shown = s.panel.Trigwait.visible ? s.panel.Trigwait.texts() : shown; };
  rig.port.log.clear();
  DACGEN(s);

  EXPECT_EQ(shown, "   Signal Output mode|  Press [STOP] to exit");
  EXPECT_FALSE(s.panel.Trigwait.visible);
  EXPECT_EQ(s.CounterRegSel, 38);
  EXPECT_EQ(s.FCntSource, 2);
  // The output stopped, then the whole memory cleared.
  EXPECT_FALSE(rig.instrument.generator().playsContinuously());
  for (int code : rig.instrument.generatorMemory()) ASSERT_EQ(code, 0);
  EXPECT_EQ(rig.instrument.generator().outputVolts(sim::toTicks(rig.host.clock + 1)), 0);
}

// The counter's comparator counts the output's rising edges: a table played at its rate
// rises at its frequency, wherever the gate starts.
TEST_F(Upload, PlayedOutputRisesAtTheTablesFrequency) {
  for (double f : {1000.0, 50000.0, 7.0}) {
    SCOPED_TRACE(f);
    buildFor(f);
    DACWRITE(s);
    DACCONT(s);
    const sim::GeneratorUnit& gen = rig.instrument.generator();
    for (double t0 : {rig.host.clock + 0.0137, rig.host.clock + 2.5})
      EXPECT_NEAR(gen.risingEdges(sim::toTicks(t0), sim::toTicks(t0 + 1), 1.0), s.GenFreq, 1);
    rig.host.clock += 10;
  }
}

}  // namespace
}  // namespace qvx
