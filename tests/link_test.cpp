#include <gtest/gtest.h>

#include "device/link.h"
#include "rig.h"

namespace qvx {
namespace {

using testing::Rig;
using Access = RecordingPort::Access;

constexpr std::uint32_t D = 0x378, C = 0x37A;
Access W(std::uint32_t a, int v) { return {true, a, static_cast<std::uint8_t>(v)}; }

std::vector<Access> writeReg(int v, int r) { return {W(D, v), W(C, 4), W(D, r), W(C, 0)}; }

TEST(Primitives, ByteSequences) {
  Rig rig;
  Scope& s = rig.scope;
  WriteReg(s, 38, 4);
  EXPECT_EQ(rig.port.log, writeReg(38, 4));

  rig.port.log.clear();
  WriteRegPulse(s, 0, 7);
  std::vector<Access> pulse = writeReg(0, 7);
  pulse.insert(pulse.end(), {W(C, 0), W(C, 1), W(C, 0)});
  EXPECT_EQ(rig.port.log, pulse);

  rig.port.log.clear();
  ClockPair(s, 0x12, 0x34);
  EXPECT_EQ(rig.port.log, (std::vector<Access>{W(D, 0x12), W(C, 1), W(D, 0x34), W(C, 0)}));

  rig.port.log.clear();
  StrobePulse(s);
  EXPECT_EQ(rig.port.log, (std::vector<Access>{W(C, 1), W(C, 0)}));

  // A 12-bit value reaches the port as its low byte.
  rig.port.log.clear();
  WriteReg(s, 0x3A5, 0x144);
  EXPECT_EQ(rig.port.log, writeReg(0xA5, 0x44));
}

// Counts the strobe pulses sent between two register writes.
int pulsesAfter(const std::vector<Access>& log, int value, int reg) {
  std::vector<Access> head = writeReg(value, reg);
  for (std::size_t i = 0; i + head.size() <= log.size(); ++i) {
    if (!std::equal(head.begin(), head.end(), log.begin() + static_cast<long>(i))) continue;
    int n = 0;
    for (std::size_t j = i + head.size(); j + 1 < log.size(); j += 2) {
      if (log[j] == W(C, 1) && log[j + 1] == W(C, 0)) ++n;
      else break;
    }
    return n;
  }
  return -1;
}

TEST(SetMaxLoop, FullMemorySendsNoPulsesButAllRegisters) {
  Rig rig;
  rig.scope.SampleCount = 65536;
  SETMAXLOOP(rig.scope);
  std::vector<Access> expected;
  for (auto part : {writeReg(0, 7)}) expected.insert(expected.end(), part.begin(), part.end());
  expected.insert(expected.end(), {W(C, 0), W(C, 1), W(C, 0)});
  for (auto part : {writeReg(7, 6), writeReg(0, 6), writeReg(128, 3), writeReg(0, 0)})
    expected.insert(expected.end(), part.begin(), part.end());
  EXPECT_EQ(rig.port.log, expected);
  EXPECT_EQ(rig.instrument.loopLength(), 65536);
}

TEST(SetMaxLoop, TwoKPointsInFourPointSteps) {
  Rig rig;
  rig.scope.SampleCount = 2048;
  SETMAXLOOP(rig.scope);
  EXPECT_EQ(pulsesAfter(rig.port.log, 7, 6), 15872);
  EXPECT_EQ(pulsesAfter(rig.port.log, 0, 6), 0);
  EXPECT_EQ(rig.instrument.loopLength(), 2048);
}

TEST(SetMaxLoop, OddLengthUsesSinglePulses) {
  Rig rig;
  rig.scope.SampleCount = 360;
  SETMAXLOOP(rig.scope);
  EXPECT_EQ(pulsesAfter(rig.port.log, 7, 6), (65536 - 360) / 4);
  EXPECT_EQ(pulsesAfter(rig.port.log, 0, 6), 0);
  rig.scope.SampleCount = 4095;
  SETMAXLOOP(rig.scope);
  EXPECT_EQ(rig.instrument.loopLength(), 4095);
}

TEST(DacZero, ClearsTheWholeGeneratorMemory) {
  Rig rig;
  // Fill the generator memory with something first, through the same stream.
  WriteRegPulse(rig.scope, 0, 7);
  WriteReg(rig.scope, 0, 10);
  for (int i = 0; i < 100; ++i) ClockPair(rig.scope, 0x0F, 0xFF);
  WriteReg(rig.scope, 0, 2);
  EXPECT_EQ(rig.instrument.generatorMemory()[99], 4095);

  rig.port.log.clear();
  DACZERO(rig.scope);
  const auto& log = rig.port.log;
  ASSERT_EQ(log.size(), 7u + 4u + 65536u * 3u + 4u);
  EXPECT_EQ(std::vector<Access>(log.begin() + 7, log.begin() + 11), writeReg(0, 10));
  EXPECT_EQ(std::vector<Access>(log.end() - 4, log.end()), writeReg(0, 2));
  for (int v : rig.instrument.generatorMemory()) ASSERT_EQ(v, 0);
}

TEST(InitPort, NothingOnThePortMeansNoInstrument) {
  sim::Config unplugged;
  unplugged.plugged = false;
  Rig rig(unplugged);
  rig.scope.ModelCode = 2;
  rig.scope.GenFitted = 0x80;
  initport(rig.scope);
  EXPECT_EQ(rig.scope.ProbeBits, 0);
  EXPECT_EQ(rig.scope.ModelCode, 0);
  EXPECT_EQ(rig.scope.GenFitted, 0);
  EXPECT_EQ(rig.scope.ChanBFitted, 0);
  EXPECT_FLOAT_EQ(rig.scope.RateMantissa, 1.0f);
}

TEST(InitPort, ProbeSequenceAndModels) {
  for (int model : {1, 2, 3}) {
    sim::Config cfg;
    cfg.modelCode = model;
    cfg.generator = model != 3;
    cfg.channelB = model != 2;
    Rig rig(cfg);
    initport(rig.scope);
    EXPECT_EQ(rig.scope.ModelCode, model);
    EXPECT_EQ(rig.scope.GenFitted, model != 3 ? 0x80 : 0);
    EXPECT_EQ(rig.scope.ChanBFitted, model != 2 ? 0x40 : 0);
    EXPECT_FLOAT_EQ(rig.scope.RateMantissa, model >= 2 ? 1.5f : 1.0f);
  }
  Rig rig;
  initport(rig.scope);
  std::vector<Access> expected = {W(0x77A, 0x20), W(D, 0), W(C, 0)};
  for (auto a : writeReg(0, 0)) expected.push_back(a);
  expected.insert(expected.end(), {W(0x77A, 0x20), W(D, 0), {false, 0x379, 0}, W(D, 0x80),
                                   {false, 0x379, 0xD0}});
  EXPECT_EQ(rig.port.log, expected);
}

TEST(InitPort, PortNumberChoosesBaseAndOutOfRangeKeepsThePrevious) {
  sim::Config on2;
  on2.lpt = 2;
  Rig rig(on2);
  initport(rig.scope);  // LPT1: nothing there
  EXPECT_EQ(rig.scope.ModelCode, 0);
  rig.scope.LptNumber = 2;
  initport(rig.scope);
  EXPECT_EQ(rig.scope.DataPort, 0x278u);
  EXPECT_EQ(rig.scope.EcrPort, 0x278u + 0x402u);
  EXPECT_EQ(rig.scope.ModelCode, 1);
  for (int bad : {0, 4, -1}) {
    rig.scope.LptNumber = bad;
    initport(rig.scope);
    EXPECT_EQ(rig.scope.DataPort, 0x278u);
    EXPECT_EQ(rig.scope.StatusPort, 0x279u);
    EXPECT_EQ(rig.scope.ModelCode, 1);
  }
  rig.scope.LptNumber = 3;
  initport(rig.scope);
  EXPECT_EQ(rig.scope.DataPort, 0x3BCu);
  EXPECT_EQ(rig.scope.ModelCode, 0);
}

TEST(PowerTest, PoweredAndUnpowered) {
  Rig powered;
  Testpower(powered.scope);
  EXPECT_EQ(powered.scope.PowerFault, 0);

  sim::Config off;
  off.powered = false;
  Rig unpowered(off);
  initport(unpowered.scope);
  EXPECT_NE(unpowered.scope.ModelCode, 0);  // attached: the probe still answers
  Testpower(unpowered.scope);
  EXPECT_EQ(unpowered.scope.PowerFault, 8);
}

}  // namespace
}  // namespace qvx
