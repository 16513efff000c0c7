#include "device/link.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "expected_conversation.h"
#include "rig.h"

namespace qvx {
namespace {

using testing::Rig;
using Access = RecordingPort::Access;
using Log = std::vector<Access>;

using testing::Conversation;

// The rest of the primitives' bytes are pinned in the golden conversations.
TEST(Primitives, ARegisterWriteSendsTheLowBytesOfValueAndRegister) {
  Rig rig;
  WriteReg(rig.scope, 0x3A5, 0x144);
  EXPECT_EQ(rig.port.log, testing::regWrite(0xA5, 0x44));
}

// The unused memory is skipped in four-point pulses, the rest in single ones; a full memory
// sends no pulses but still all the registers.
TEST(SetMaxLoop, SkipsTheUnusedMemory) {
  const struct {
    int count, fours, singles;
  } cases[] = {{65536, 0, 0}, {2048, 15872, 0}, {4095, 15360, 1}};
  for (const auto& c : cases) {
    Rig rig;
    rig.scope.SampleCount = c.count;
    SETMAXLOOP(rig.scope);
    Conversation expected;
    expected.writeRegPulse(0, 7);
    expected.writeReg(7, 6);
    for (int i = 0; i < c.fours; ++i) expected.strobe();
    expected.writeReg(0, 6);
    for (int i = 0; i < c.singles; ++i) expected.strobe();
    expected.writeReg(128, 3);
    expected.writeReg(0, 0);
    EXPECT_EQ(rig.port.log, expected.log) << c.count;
    EXPECT_EQ(rig.instrument.loopLength(), c.count);
  }
}

// The probe conversation of model 1 is pinned in the start-up golden.
TEST(InitPort, WhatEachModelAnswers) {
  for (int model : {0, 1, 2, 3}) {  // 0: nothing on the port
    sim::Config config;
    config.plugged = model != 0;
    config.modelCode = std::max(model, 1);
    config.generator = model != 3;
    config.channelB = model != 2;
    Rig rig(config);
    rig.scope.ModelCode = 2;
    rig.scope.GenFitted = 0x80;
    initport(rig.scope);
    const Scope& s = rig.scope;
    EXPECT_EQ(s.ModelCode, model);
    EXPECT_EQ(s.GenFitted, model && model != 3 ? 0x80 : 0);
    EXPECT_EQ(s.ChanBFitted, model && model != 2 ? 0x40 : 0);
    EXPECT_EQ(s.ProbeBits != 0, model != 0);
    EXPECT_FLOAT_EQ(s.RateMantissa, model >= 2 ? 1.5f : 1.0f);
  }
}

TEST(InitPort, PortNumberChoosesBaseAndOutOfRangeKeepsThePrevious) {
  Rig rig;
  rig.instrument.config().lpt = 2;
  Scope& s = rig.scope;
  initport(s);  // LPT1: nothing there
  EXPECT_EQ(s.ModelCode, 0);
  for (int lpt : {2, 0, 4, -1, 3}) {
    s.LptNumber = lpt;
    initport(s);
    const std::uint32_t base = lpt == 3 ? 0x3BC : 0x278;
    EXPECT_EQ((std::vector<std::uint32_t>{s.DataPort, s.StatusPort, s.EcrPort}),
              (std::vector<std::uint32_t>{base, base + 1, base + 0x402}))
        << lpt;
    EXPECT_EQ(s.ModelCode, lpt == 3 ? 0 : 1) << lpt;
  }
}

}  // namespace
}  // namespace qvx
