#include "device/link.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "rig.h"

namespace qvx {
namespace {

using testing::Rig;
using Access = RecordingPort::Access;
using Log = std::vector<Access>;

constexpr std::uint32_t D = 0x378, C = 0x37A;
const auto W = [](std::uint32_t a, int v) { return Access{true, a, std::uint8_t(v)}; };
const auto writeReg = [](int v, int r) { return Log{W(D, v), W(C, 4), W(D, r), W(C, 0)}; };
const Log kStrobe = {W(C, 1), W(C, 0)};
// `parts` one after the other, followed by `strobes` strobe pulses.
Log join(std::initializer_list<Log> parts, int strobes = 0) {
  Log all;
  for (const Log& p : parts) all.insert(all.end(), p.begin(), p.end());
  for (int i = 0; i < strobes; ++i) all.insert(all.end(), kStrobe.begin(), kStrobe.end());
  return all;
}

// The rest of the primitives' bytes are pinned in the golden conversations.
TEST(Primitives, ARegisterWriteSendsTheLowBytesOfValueAndRegister) {
  Rig rig;
  WriteReg(rig.scope, 0x3A5, 0x144);
  EXPECT_EQ(rig.port.log, writeReg(0xA5, 0x44));
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
    EXPECT_EQ(rig.port.log,
              join({join({writeReg(0, 7), {W(C, 0)}, kStrobe, writeReg(7, 6)}, c.fours),
                    join({writeReg(0, 6)}, c.singles), writeReg(128, 3), writeReg(0, 0)}))
        << c.count;
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
