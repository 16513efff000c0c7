#include "control/groups.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

#include "rig.h"

namespace qvx {
namespace {

using Names = std::set<std::string>;

Names disabledControls(const Panel& p) {
  Names off;
  for (const Widget* w : p.controls)
    if (!w->enabled) off.insert(w->name);
  return off;
}
// `names` added to `a`, given as one string separated by blanks.
Names plus(Names a, const std::string& names) {
  std::istringstream in(names);
  for (std::string n; in >> n;) a.insert(n);
  return a;
}

// Each pair switches exactly its own members and leaves every other control alone. The trigger
// level buttons are disabled with their group but left to the trigger panel when it is enabled.
TEST(ControlGroups, EachGroupSwitchesExactlyItsMembers) {
  const struct {
    void (*disable)(Scope&);
    void (*enable)(Scope&);
    const char *members, *leftOff;
  } cases[] = {
      {RANGEADISABLE, RANGEAENABLE, "Command3 Command2 Command4", ""},
      {RANGEBDISABLE, RANGEBENABLE, "Command6 Command7 Command5", ""},
      {GENDISABLE, GENENABLE,
       "GENMODEBUTTON GENSTYLEBUTTON GENAMPBUTTON SWRATIOBUTTON GENUPDATEBUTTON GENLFREQBUTTONN "
       "GENLFREQBUTTONP GENSFREQBUTTONN GENSFREQBUTTONP DCUP DCDOWN",
       ""},
      {SAMPLEDISABLE, SAMPLEENABLE, "SRATEN SRATEP SSIZEN SSIZEP", ""},
      {FILEDISABLE, FILEENABLE,
       "Command22 Command1 helpbutton fileloadbutton filesavebutton SETUP UtilButton", ""},
      {TRIGGERDISABLE, TRIGGERENABLE,
       "TMODEBUTTON TSOURCEBUTTON PRETRIGBUTTON TSLOPEBUTTON TRESETBUTTON TriglevelBUTTON "
       "TRLARGEN TRSMALLN TRLARGEP TRSMALLP",
       "TriglevelBUTTON TRLARGEN TRSMALLN TRLARGEP TRSMALLP"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.members);
    testing::Rig r;
    r.scope.ChanBFitted = 64;
    const Names before = disabledControls(r.scope.panel);
    c.enable(r.scope);
    EXPECT_EQ(disabledControls(r.scope.panel), before) << "enabling never disables";
    c.disable(r.scope);
    EXPECT_EQ(disabledControls(r.scope.panel), plus(before, c.members));
    c.enable(r.scope);
    EXPECT_EQ(disabledControls(r.scope.panel), plus(before, c.leftOff));
  }
}

TEST(ControlGroups, RangeBEnableWithoutChannelBKeepsItsButtonsAndEDisabled) {
  testing::Rig r;
  r.scope.ChanBFitted = 0;
  RANGEBENABLE(r.scope);
  EXPECT_EQ(disabledControls(r.scope.panel), plus(disabledControls(testing::Rig().scope.panel),
                                                  "Command6 Command7 Command5 Command19"));
}

TEST(ControlGroups, GenDisableColoursTheUpdateBackingGreenEveryTime) {
  testing::Rig r;
  PictureArea& back = r.scope.panel.GENUPDATEBACK;
  for (int i = 0; i < 2; ++i) {  // the second time the group is already disabled
    back.setBackColour(RGB(0xFF, 0, 0));
    GENDISABLE(r.scope);
    EXPECT_EQ(back.backColour, RGB(0x80, 0xFF, 0x80));
  }
  back.setBackColour(RGB(0xFF, 0, 0));
  GENENABLE(r.scope);
  EXPECT_EQ(back.backColour, RGB(0xFF, 0, 0)) << "enabling leaves the colour";
}

}  // namespace
}  // namespace qvx
