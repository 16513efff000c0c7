// The command file is read only while the program is otherwise idle: never while a panel
// is open, whatever ran and ended meanwhile, and again as soon as the last panel closes.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "started_scope.h"

namespace qvx {
namespace {

struct RemotePoll : ::testing::Test, testing::StartedScope {
  // Gives the poll a chance to run: events run, its 1 ms interval passes, events run.
  void idle() {
    rig.host.DoEvents();
    rig.host.Sleep(5);
    rig.host.DoEvents();
  }
  bool commandRead() const { return !commandFileThere(); }
};

TEST_F(RemotePoll, GoWhileUtilsIsOpenLeavesThePollOffUntilThePanelCloses) {
  s.RangeA = 1;
  p.UtilButton.click();
  command("ARANGE=0\n");
  bool readDuringRun = false;
  rig.host.onPump = [&] { readDuringRun |= commandRead(); };
  p.GOBUTTON.click();
  EXPECT_EQ(s.RunFlag, 0) << "a single capture ran to its end";
  EXPECT_FALSE(readDuringRun);
  EXPECT_FALSE(p.Timer2.enabled()) << "the end of the run leaves the poll to the open panel";
  for (int i = 0; i < 5; ++i) idle();
  EXPECT_FALSE(commandRead());
  EXPECT_EQ(s.RangeA, 1);

  // A repeat run in which the panel is closed: the poll waits for the run's end.
  p.TRESETBUTTON.click();
  ASSERT_EQ(s.RepeatMode, 1);
  int pumps = 0;
  bool pollOnDuringRun = false;
  rig.host.onPump = [&] {
    ++pumps;
    if (pumps == 3) p.UtilExit.click();
    if (pumps > 3) pollOnDuringRun |= p.Timer2.enabled();
    if (pumps == 40) p.GOBUTTON.click();  // STOP
  };
  p.GOBUTTON.click();
  EXPECT_GE(pumps, 40);
  EXPECT_FALSE(pollOnDuringRun) << "closing UTILS during a run does not start the poll";
  EXPECT_FALSE(commandRead());
  EXPECT_TRUE(p.Timer2.enabled()) << "nothing holds the window any more";
  rig.host.onPump = nullptr;
  idle();
  EXPECT_TRUE(commandRead());
  EXPECT_EQ(s.RangeA, 0);
}

// Each panel that waits for its EXIT, with GO pressed while it is open: the poll stays off
// until EXIT and runs again right after it.
TEST_F(RemotePoll, StaysOffWhileAnyPanelIsOpenEvenAfterARunInside) {
  struct Case {
    std::string name;
    std::function<void()> open;
    PictureArea& window;
    Button& exit;
    bool go = true;  // the recorder panel covers the counter's GO; only its EXIT is pressed
  };
  const Case cases[] = {
      {"load", [&] { p.fileloadbutton.click(); }, p.fileloadwindow, p.loadexitbutton},
      {"save", [&] { p.filesavebutton.click(); }, p.filesavewindow, p.exitsavebutton},
      {"port", [&] { p.SETUP.click(); }, p.CONFIGWINDOW, p.CONFIGEXIT},
      {"help", [&] { p.helpbutton.click(); }, p.helpwindow, p.helpexit},
      {"print", [&] { p.Command1.click(); }, p.printwindow, p.exitprint},
      {"recorder",
       [&] {
         while (s.OperatingMode != 3) p.SmodeUP.click();
         p.FCntStSpbutton.click();
       },
       p.Filesavefrec, p.Command32, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    s.RangeA = 1;
    command("ARANGE=0\n");
    bool went = false, pollOnWhileOpen = false, readWhileOpen = false;
    rig.host.onPump = [&] {
      if (!c.window.visible) return;
      pollOnWhileOpen |= p.Timer2.enabled();
      readWhileOpen |= commandRead();
      if (went) return;
      went = true;
      if (c.go) p.GOBUTTON.click();
      pollOnWhileOpen |= p.Timer2.enabled();
      c.exit.click();
    };
    c.open();
    rig.host.onPump = nullptr;
    EXPECT_TRUE(went);
    EXPECT_FALSE(c.window.visible);
    EXPECT_FALSE(pollOnWhileOpen);
    EXPECT_FALSE(readWhileOpen);
    EXPECT_TRUE(p.Timer2.enabled());
    idle();
    EXPECT_TRUE(commandRead()) << "read at the next tick after EXIT";
    EXPECT_EQ(s.RangeA, 0);
  }
}

}  // namespace
}  // namespace qvx
