// Raw port I/O asks the kernel for the program's twelve registers one range at a time and
// lets nothing else reach the port instructions.
#include "device/direct_port.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <tuple>
#include <vector>

namespace qvx {
namespace {

// Records the permission calls and the port instructions; the ECR ranges (above 3FFH) can
// be refused as an old kernel did, and any permission refused as for a user without root.
struct FakeInstructions : PortInstructions {
  using Grant = std::tuple<unsigned long, unsigned long, bool>;
  int refuseAbove3FF = 0;  // errno for ioperm above 3FFH
  int refuseAll = 0;       // errno for every permission call
  std::vector<Grant> grants;
  std::vector<int> levels;
  std::vector<std::pair<std::uint16_t, int>> accesses;  // address, value written or -1 read

  int ioperm(unsigned long from, unsigned long count, bool on) override {
    if (on && refuseAll) return -refuseAll;
    if (on && refuseAbove3FF && from > 0x3FF) return -refuseAbove3FF;
    grants.emplace_back(from, count, on);
    return 0;
  }
  int iopl(int level) override {
    if (level && refuseAll) return -refuseAll;
    levels.push_back(level);
    return 0;
  }
  void out(std::uint16_t address, std::uint8_t value) override {
    accesses.emplace_back(address, value);
  }
  std::uint8_t in(std::uint16_t address) override {
    accesses.emplace_back(address, -1);
    return 0x42;
  }
};

const std::vector<FakeInstructions::Grant> kRegisters = {{0x378, 3, true}, {0x77A, 1, true},
                                                         {0x278, 3, true}, {0x67A, 1, true},
                                                         {0x3BC, 3, true}, {0x7BE, 1, true}};

TEST(DirectPort, AsksForExactlyTheTwelveRegistersAndGivesThemBack) {
  FakeInstructions io;
  DirectPort port(io);
  ASSERT_TRUE(port.available()) << port.problem();
  EXPECT_EQ(io.grants, kRegisters);
  EXPECT_TRUE(io.levels.empty()) << "no iopl where ioperm reaches";

  port.OutPort(0x37A, 4);
  port.OutPort(0x7BE, 0x20);
  EXPECT_EQ(port.InPort(0x279), 0x42);
  port.OutPort(0x37B, 1);  // next to LPT1's registers: not granted, would fault
  port.OutPort(0x3BB, 1);
  port.OutPort(0x77B, 1);
  EXPECT_EQ(port.InPort(0x80), 0xFF);
  const std::vector<std::pair<std::uint16_t, int>> passed = {
      {0x37A, 4}, {0x7BE, 0x20}, {0x279, -1}};
  EXPECT_EQ(io.accesses, passed);

  port.Shutdown();
  ASSERT_EQ(io.grants.size(), 12u);
  for (std::size_t i = 0; i < 6; ++i) {
    const auto& [from, count, on] = io.grants[6 + i];
    EXPECT_EQ(std::tie(from, count),
              std::tie(std::get<0>(kRegisters[i]), std::get<1>(kRegisters[i])));
    EXPECT_FALSE(on);
  }
  port.OutPort(0x378, 1);
  EXPECT_EQ(io.accesses.size(), 3u) << "nothing after the shutdown";
}

// A kernel that refuses ioperm above 3FFH (before 2.6.8) leaves only iopl(3) for the ECRs;
// the registers below keep their exact grant, and iopl is asked once and dropped at exit.
TEST(DirectPort, UsesIoplOnlyForEcrsIoPermCannotReach) {
  FakeInstructions io;
  io.refuseAbove3FF = EINVAL;
  DirectPort port(io);
  ASSERT_TRUE(port.available()) << port.problem();
  const std::vector<FakeInstructions::Grant> low = {
      {0x378, 3, true}, {0x278, 3, true}, {0x3BC, 3, true}};
  EXPECT_EQ(io.grants, low);
  EXPECT_EQ(io.levels, std::vector<int>{3});
  port.OutPort(0x77A, 0x20);
  EXPECT_EQ(io.accesses.size(), 1u);
  port.Shutdown();
  EXPECT_EQ(io.levels, (std::vector<int>{3, 0}));
}

// Without root: one message that points to ppdev, then a port with nothing attached.
TEST(DirectPort, WithoutPermissionSaysSoPointsToPpdevAndStaysEmpty) {
  for (int error : {EPERM, ENOSYS}) {
    FakeInstructions io;
    io.refuseAll = error;
    DirectPort port(io);
    EXPECT_FALSE(port.available());
    EXPECT_NE(port.problem().find("--port=ppdev"), std::string::npos) << port.problem();
    EXPECT_NE(port.problem().find(error == EPERM ? "needs root" : "x86"), std::string::npos)
        << port.problem();
    port.OutPort(0x378, 1);
    EXPECT_EQ(port.InPort(0x379), 0xFF);
    EXPECT_TRUE(io.accesses.empty());
  }
  FakeInstructions partly;
  partly.refuseAbove3FF = EPERM;
  DirectPort port(partly);
  EXPECT_FALSE(port.available());
  EXPECT_EQ(partly.grants.back(), (FakeInstructions::Grant{0x378, 3, false}))
      << "what was granted is given back";
}

}  // namespace
}  // namespace qvx
