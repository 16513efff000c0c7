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
// level buttons are disabled with their group but left to the trigger panel when it is enabled;
// without channel B its buttons and E stay disabled.
TEST(ControlGroups, EachGroupSwitchesExactlyItsMembers) {
  const struct {
    void (*disable)(Scope&);
    void (*enable)(Scope&);
    const char *members, *leftOff;
    int chanBFitted = 64;
  } cases[] = {
      {RANGEADISABLE, RANGEAENABLE, "Command3 Command2 Command4", ""},
      {RANGEBDISABLE, RANGEBENABLE, "Command6 Command7 Command5", ""},
      {RANGEBDISABLE, RANGEBENABLE, "Command6 Command7 Command5",
       "Command6 Command7 Command5 Command19", 0},
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
    SCOPED_TRACE(::testing::Message() << c.members << ", B fitted " << c.chanBFitted);
    testing::Rig r;
    r.scope.ChanBFitted = c.chanBFitted;
    const Names before = disabledControls(r.scope.panel);
    c.disable(r.scope);
    EXPECT_EQ(disabledControls(r.scope.panel), plus(before, c.members));
    c.enable(r.scope);
    EXPECT_EQ(disabledControls(r.scope.panel), plus(before, c.leftOff));
  }
}

// Disabling turns the update backing green even when the group is already off; enabling
// leaves its colour.
TEST(ControlGroups, GenDisableColoursTheUpdateBackingGreenEveryTime) {
  testing::Rig r;
  PictureArea& back = r.scope.panel.GENUPDATEBACK;
  for (void (*group)(Scope&) : {GENDISABLE, GENDISABLE, GENENABLE}) {
    back.setBackColour(RGB(0xFF, 0, 0));
    group(r.scope);
    EXPECT_EQ(back.backColour, group == GENENABLE ? RGB(0xFF, 0, 0) : RGB(0x80, 0xFF, 0x80));
  }
}

}  // namespace
}  // namespace qvx
