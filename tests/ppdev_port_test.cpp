// The ppdev backend: which driver calls each register access becomes, which node each LPT
// is, and what the program says and does when a node cannot be used. The whole
// conversations of start-up and GO through it are in golden_conversation_test.cpp.
#include "device/ppdev_port.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_parport.h"
#include "ppdev_rig.h"
#include "started.h"

namespace qvx {
namespace {

using testing::FakeParport;
using Call = FakeParport::Call;

const std::string kLpt1 = "/dev/parport0", kLpt2 = "/dev/parport1";

// A port on the far side whose every line answers 0x5A.
struct IdleLines : NullPort {
  std::uint8_t InPort(std::uint32_t) override { return 0x5A; }
};

struct Wired {
  Wired() {
    fake.nodes[kLpt1] = {0x378};
    fake.nodes[kLpt2] = {0x278};
  }
  std::vector<std::string> messages;
  IdleLines lines;
  RecordingPort cable{&lines};
  FakeParport fake{cable};
  PpdevPort port{fake, "", [this](const std::string& m) { messages.push_back(m); }};
};

// Every kind of register access, in the order a buffer read makes them.
TEST(PpdevPort, TurnsEachRegisterAccessIntoItsDriverCall) {
  Wired w;
  w.port.OutPort(0x77A, 0x20);
  w.port.OutPort(0x378, 0xA5);
  w.port.OutPort(0x37A, 0x04);  // direction still unknown: set forward first
  w.port.OutPort(0x37A, 0x00);
  w.port.OutPort(0x37A, 0x22);  // turning to inputs: direction first
  EXPECT_EQ(w.port.InPort(0x378), 0x5A);
  w.port.OutPort(0x37A, 0x23);
  EXPECT_EQ(w.port.InPort(0x37A), 0x23) << "bit 5 from the direction set";
  w.port.OutPort(0x37A, 0x00);  // turning back: direction first as well
  EXPECT_EQ(w.port.InPort(0x37A), 0x00);
  EXPECT_EQ(w.port.InPort(0x379), 0x5A);
  w.port.OutPort(0x379, 0x11);  // the status register cannot be written
  w.port.OutPort(0x300, 0x11);  // not a port register
  EXPECT_EQ(w.port.InPort(0x77A), 0xFF) << "the driver does not show the ECR";
  const std::vector<Call> expected = {
      {kLpt1, PPEXCL, 0},        {kLpt1, PPCLAIM, 0},       {kLpt1, PPSETMODE, IEEE1284_MODE_BYTE},
      {kLpt1, PPWDATA, 0xA5},    {kLpt1, PPDATADIR, 0},     {kLpt1, PPWCONTROL, 0x04},
      {kLpt1, PPWCONTROL, 0x00}, {kLpt1, PPDATADIR, 1},     {kLpt1, PPWCONTROL, 0x02},
      {kLpt1, PPRDATA, 0x5A},    {kLpt1, PPWCONTROL, 0x03}, {kLpt1, PPRCONTROL, 0x03},
      {kLpt1, PPDATADIR, 0},     {kLpt1, PPWCONTROL, 0x00}, {kLpt1, PPRCONTROL, 0x00},
      {kLpt1, PPRSTATUS, 0x5A}};
  EXPECT_EQ(w.fake.calls, expected);
  EXPECT_EQ(w.fake.opens, 1);
  EXPECT_TRUE(w.messages.empty());

  w.port.Shutdown();
  EXPECT_EQ(w.fake.calls.back(), (Call{kLpt1, PPRELEASE, 0}));
  EXPECT_FALSE(w.fake.anyOpen());
  const std::size_t calls = w.fake.calls.size();
  w.port.OutPort(0x378, 1);
  EXPECT_EQ(w.port.InPort(0x379), 0xFF);
  EXPECT_EQ(w.fake.calls.size(), calls) << "nothing after the release";
  EXPECT_EQ(w.fake.opens, 1) << "and no new claim";
}

// The ECR's mode field (bits 7..5) picks the IEEE 1284 mode; its other bits are the
// driver's own, and the modes without an IEEE 1284 counterpart are not passed on.
TEST(PpdevPort, MapsTheEcrModeFieldOntoIeee1284Modes) {
  const std::pair<int, int> table[] = {{0x00, IEEE1284_MODE_COMPAT},
                                       {0x20, IEEE1284_MODE_BYTE},
                                       {0x35, IEEE1284_MODE_BYTE},
                                       {0x40, IEEE1284_MODE_COMPAT},
                                       {0x60, IEEE1284_MODE_ECP},
                                       {0x80, IEEE1284_MODE_EPP},
                                       {0xA0, -1},
                                       {0xC0, -1},
                                       {0xE7, -1}};
  Wired w;
  std::vector<int> expectedModes;
  for (const auto& [ecr, mode] : table) {
    EXPECT_EQ(ieee1284ModeForEcr(static_cast<std::uint8_t>(ecr)), mode) << ecr;
    w.port.OutPort(0x77A, static_cast<std::uint8_t>(ecr));
    if (mode >= 0) expectedModes.push_back(mode);
  }
  EXPECT_EQ(w.fake.modes, expectedModes);
  EXPECT_TRUE(w.cable.log.empty()) << "a mode change writes no register on the cable";
}

// LPT n is /dev/parport(n-1): switching ports releases one node before claiming the next,
// and switching back claims the first again. A node of its own takes every LPT.
TEST(PpdevPort, ClaimsTheNodeOfEachLptInTurnOrTheOneNamed) {
  Wired w;
  w.port.InPort(0x379);
  w.port.OutPort(0x278, 7);
  w.port.OutPort(0x67A, 0x20);
  w.port.InPort(0x379);
  EXPECT_EQ(w.fake.opens, 3);
  EXPECT_EQ(w.fake.closes, 2);
  const std::vector<Call> expected = {
      {kLpt1, PPEXCL, 0},       {kLpt1, PPCLAIM, 0},
      {kLpt1, PPRSTATUS, 0x5A}, {kLpt1, PPRELEASE, 0},
      {kLpt2, PPEXCL, 0},       {kLpt2, PPCLAIM, 0},
      {kLpt2, PPWDATA, 7},      {kLpt2, PPSETMODE, IEEE1284_MODE_BYTE},
      {kLpt2, PPRELEASE, 0},    {kLpt1, PPEXCL, 0},
      {kLpt1, PPCLAIM, 0},      {kLpt1, PPRSTATUS, 0x5A}};
  EXPECT_EQ(w.fake.calls, expected);
  EXPECT_EQ(w.cable.log.at(1), (RecordingPort::Access{true, 0x278, 7})) << "LPT2 is on 278H";
  EXPECT_EQ(PpdevPort::nodeForLpt(3), "/dev/parport2");

  IdleLines lines;
  FakeParport fake(lines);
  fake.nodes["/dev/parport7"] = {0x378};
  PpdevPort named(fake, "/dev/parport7", {});
  for (std::uint32_t base : {0x378u, 0x278u, 0x3BCu}) EXPECT_EQ(named.InPort(base + 1), 0x5A);
  EXPECT_EQ(fake.opens, 1);
  EXPECT_EQ(named.device(), "/dev/parport7");
  EXPECT_TRUE(named.claimed());
}

struct Failure {
  const char* what;
  std::string device;  // empty: LPT1's node
  std::function<void(FakeParport&)> prepare;
  std::vector<std::string> says;  // the message names the node and the remedy
};

std::vector<Failure> failures() {
  return {
      {"no node",
       "",
       [](FakeParport& f) { f.nodes.erase(kLpt1); },
       {"/dev/parport0 is not there", "modprobe -a parport_pc ppdev"}},
      {"no permission",
       "",
       [](FakeParport& f) {
         f.nodes[kLpt1].openError = EACCES;
         f.nodes[kLpt1].group = "lpadmin";
       },
       {"no permission to open /dev/parport0", "group 'lpadmin'", "usermod -aG lpadmin $USER",
        "log in again"}},
      {"busy",
       "",
       [](FakeParport& f) { f.nodes[kLpt1].claimError = EBUSY; },
       {"/dev/parport0 is busy", "printer driver lp", "rmmod lp"}},
      {"exclusive use refused",
       "",
       [](FakeParport& f) { f.nodes[kLpt1].claimError = ENXIO; },
       {"no exclusive use of /dev/parport0", "rmmod lp"}},
      {"not a parallel port",
       "/dev/ttyS0",
       [](FakeParport& f) {
         f.nodes["/dev/ttyS0"] = {0x378, 0, ENOTTY, "dialout"};
       },
       {"/dev/ttyS0 is not a parallel port device", "--port=ppdev:/dev/parport0"}},
  };
}

// Each failure is said once, naming the node and the remedy, however often the port panel
// probes; the program then behaves as with nothing on the port (as an unplugged simulated
// instrument: the panel opens at start-up, GO refuses with the same status), makes no
// register call and closes what it opened.
TEST(PpdevPort, EveryUnusableNodeIsSaidOnceAndThePortStaysEmpty) {
  sim::Config unplugged;
  unplugged.plugged = false;
  testing::Started empty(unplugged);
  std::string refusal;
  empty.rig.host.onPump = [&] {
    refusal = empty.p.Trigwait.visible ? empty.p.Trigwait.texts() : refusal;
  };
  empty.p.GOBUTTON.click();
  ASSERT_FALSE(refusal.empty());

  for (const Failure& f : failures()) {
    SCOPED_TRACE(f.what);
    testing::Started st({}, false, testing::throughPpdev(f.device, f.prepare));
    testing::PpdevOverFake& pp = testing::ppdevOf(st.rig);
    testing::exitPortPanelWhenShown(st.rig, 30);  // the panel probes every 100 ms meanwhile
    st.start();
    ASSERT_EQ(pp.messages.size(), 1u);
    const std::string& said = pp.messages.front();
    for (const std::string& part : f.says) EXPECT_NE(said.find(part), std::string::npos) << said;
    EXPECT_NE(said.find("carrying on as if nothing answered"), std::string::npos) << said;
    EXPECT_EQ(st.s.ModelCode, 0);
    EXPECT_EQ(st.p.CONFIGWINDOW.clears, 1u) << "the port panel opened for no answer";
    EXPECT_GE(st.rig.host.pumps, 30);

    std::string shown;
    st.rig.host.onPump = [&] { shown = st.p.Trigwait.visible ? st.p.Trigwait.texts() : shown; };
    st.p.GOBUTTON.click();
    EXPECT_EQ(shown, refusal);
    EXPECT_EQ(st.s.RunFlag, 0);
    EXPECT_EQ(pp.messages.size(), 1u) << "said once";
    for (const Call& c : pp.fake.calls)
      EXPECT_TRUE(c.request == PPEXCL || c.request == PPCLAIM) << "register call " << c.request;
    EXPECT_TRUE(pp.cable.log.empty());
    EXPECT_FALSE(pp.fake.anyOpen());
  }
}

// A port that goes away while in use (a USB adapter pulled out) is said once; the program
// carries on with nothing attached and gives the node back.
TEST(PpdevPort, APortLostInUseIsSaidOnceAndLetGo) {
  Wired w;
  w.port.OutPort(0x378, 1);
  w.fake.failAfter = 2;
  w.port.OutPort(0x378, 2);
  w.port.OutPort(0x378, 3);
  EXPECT_EQ(w.port.InPort(0x379), 0xFF);
  w.port.OutPort(0x37A, 0x22);
  EXPECT_EQ(w.port.InPort(0x378), 0xFF);
  ASSERT_EQ(w.messages.size(), 1u);
  EXPECT_NE(w.messages[0].find("lost /dev/parport0"), std::string::npos) << w.messages[0];
  EXPECT_FALSE(w.port.claimed());
  EXPECT_FALSE(w.fake.anyOpen());
  EXPECT_EQ(w.cable.log.size(), 3u) << "the writes before the loss reached the cable";
}

}  // namespace
}  // namespace qvx
