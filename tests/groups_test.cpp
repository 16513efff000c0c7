#include "control/groups.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "rig.h"

namespace qvx {
namespace {

using testing::Rig;

std::set<std::string> enabledControls(const Panel& p) {
  std::set<std::string> on;
  for (const Widget* w : p.controls)
    if (w->enabled) on.insert(w->name);
  return on;
}

struct GroupCase {
  const char* name;
  void (*disable)(Scope&);
  void (*enable)(Scope&);
  std::set<std::string> members;
};

// Each pair switches exactly its own members and leaves every other control alone.
TEST(ControlGroups, EachGroupSwitchesExactlyItsMembers) {
  const GroupCase cases[] = {
      {"range A", RANGEADISABLE, RANGEAENABLE, {"Command3", "Command2", "Command4"}},
      {"range B", RANGEBDISABLE, RANGEBENABLE, {"Command6", "Command7", "Command5"}},
      {"generator",
       GENDISABLE,
       GENENABLE,
       {"GENMODEBUTTON", "GENSTYLEBUTTON", "GENAMPBUTTON", "SWRATIOBUTTON", "GENUPDATEBUTTON",
        "GENLFREQBUTTONN", "GENLFREQBUTTONP", "GENSFREQBUTTONN", "GENSFREQBUTTONP", "DCUP",
        "DCDOWN"}},
      {"sample", SAMPLEDISABLE, SAMPLEENABLE, {"SRATEN", "SRATEP", "SSIZEN", "SSIZEP"}},
      {"file",
       FILEDISABLE,
       FILEENABLE,
       {"Command22", "Command1", "helpbutton", "fileloadbutton", "filesavebutton", "SETUP",
        "UtilButton"}},
  };
  for (const GroupCase& c : cases) {
    SCOPED_TRACE(c.name);
    Rig r;
    r.scope.ChanBFitted = 64;
    const std::set<std::string> all = enabledControls(r.scope.panel);

    c.disable(r.scope);
    std::set<std::string> expected;
    for (const std::string& n : all)
      if (!c.members.count(n)) expected.insert(n);
    EXPECT_EQ(enabledControls(r.scope.panel), expected);

    c.enable(r.scope);
    EXPECT_EQ(enabledControls(r.scope.panel), all);
  }
}

TEST(ControlGroups, RangeBEnableWithoutChannelBKeepsItsButtonsAndEDisabled) {
  Rig r;
  Panel& p = r.scope.panel;
  r.scope.ChanBFitted = 0;
  RANGEBENABLE(r.scope);
  for (const Button* b : {&p.Command6, &p.Command7, &p.Command5, &p.Command19})
    EXPECT_FALSE(b->enabled) << b->name;

  r.scope.ChanBFitted = 64;
  RANGEBENABLE(r.scope);
  for (const Button* b : {&p.Command6, &p.Command7, &p.Command5}) EXPECT_TRUE(b->enabled);
  EXPECT_FALSE(p.Command19.enabled) << "enabling B's range group does not touch E";
}

TEST(ControlGroups, GenDisableColoursTheUpdateBackingGreenEveryTime) {
  Rig r;
  PictureArea& back = r.scope.panel.GENUPDATEBACK;
  const Colour lightGreen = RGB(0x80, 0xFF, 0x80);
  GENDISABLE(r.scope);
  EXPECT_EQ(back.backColour, lightGreen);

  back.setBackColour(RGB(0xFF, 0, 0));
  GENDISABLE(r.scope);
  EXPECT_EQ(back.backColour, lightGreen) << "already disabled, still recoloured";

  back.setBackColour(RGB(0xFF, 0, 0));
  GENENABLE(r.scope);
  EXPECT_EQ(back.backColour, RGB(0xFF, 0, 0)) << "enabling leaves the colour";
}

TEST(ControlGroups, TriggerEnableLeavesTheLevelButtonsAlone) {
  Rig r;
  Panel& p = r.scope.panel;
  const std::set<std::string> level = {"TriglevelBUTTON", "TRLARGEN", "TRSMALLN", "TRLARGEP",
                                       "TRSMALLP"};
  const std::set<std::string> others = {"TMODEBUTTON", "TSOURCEBUTTON", "PRETRIGBUTTON",
                                        "TSLOPEBUTTON", "TRESETBUTTON"};

  TRIGGERDISABLE(r.scope);
  for (const auto& n : level) EXPECT_FALSE(p.find(n)->enabled) << n;
  for (const auto& n : others) EXPECT_FALSE(p.find(n)->enabled) << n;

  TRIGGERENABLE(r.scope);
  for (const auto& n : level) EXPECT_FALSE(p.find(n)->enabled) << n << " stays disabled";
  for (const auto& n : others) EXPECT_TRUE(p.find(n)->enabled) << n;

  p.TRLARGEN.enabled = true;
  TRIGGERENABLE(r.scope);
  EXPECT_TRUE(p.TRLARGEN.enabled) << "an enabled level button stays enabled";
}

}  // namespace
}  // namespace qvx
