#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "remote/command_file.h"
#include "started_scope.h"

namespace qvx {
namespace {

namespace fs = std::filesystem;

struct RemoteCommands : ::testing::Test, testing::StartedScope {};

// The item syntax itself is pinned item by item in remote_syntax_test; here the file as a
// whole: the grace, the deletion, and a key with a blank before "=" matching nothing.
TEST_F(RemoteCommands, TheFileIsReadAfterAFiftyMillisecondGraceDeletedAndOnlyExactKeysApply) {
  Timer2_Timer(s);  // no file: nothing to wait for
  EXPECT_TRUE(rig.host.sleeps.empty());
  s.RangeA = 0;
  run("ADATA=1;data,X=1,ARANGE=\narange = 1\n");
  EXPECT_EQ(rig.host.sleeps, std::vector<int>{50});
  EXPECT_FALSE(commandFileThere());
  EXPECT_EQ(s.WriteDataA, 1);
  EXPECT_EQ(s.RangeA, 0);
  run("ARANGE= 1;range\n");
  EXPECT_EQ(s.RangeA, 1);
}

TEST_F(RemoteCommands, ChannelTriggerAndCounterKeywordsTakeOnlyTheirListedValues) {
  const auto settings = [this] {
    return std::vector<int>{
        s.RangeA,          s.RangeB,          s.CouplingA,          s.CouplingB,  s.ProbeA,
        s.ProbeB,          s.TrigMode,        s.TrigSource,         s.TrigSlope,  s.PretrigIndex,
        s.SampleRateIndex, s.SampleSizeIndex, s.WriteDataA,         s.WriteDataB, s.WriteDataC,
        s.WriteDataD,      s.FCntSource,      s.RemoteDisplayUpdate};
  };
  run("ARANGE=0,BRANGE=0,AMODE=DC,BMODE=DC,APROBE=10,BPROBE=10,TRIGMODE=2,TRIGSOURCE=D,"
      "TRIGSLOPE=NEG,PRETRIG=2,SAMPLERATE=4,SAMPLESIZE=64,ADATA=1,BDATA=1,CDATA=1,DDATA=1,"
      "FREQCOUNTSOURCE=3,REMOTEDISPLAYUPDATE=0\n");
  const std::vector<int> chosen{0, 0, 1, 1, 1, 1, 2, 3, -1, 2, 4, 5, 1, 1, 1, 1, 3, 0};
  EXPECT_EQ(settings(), chosen);
  // Values outside each list, including near misses, leave every setting alone.
  run("ARANGE=2,AMODE=D,APROBE=0,TRIGMODE=3,TRIGSOURCE=E,TRIGSLOPE=+,PRETRIG=-1,SAMPLERATE=5,"
      "SAMPLESIZE=128,ADATA=2,FREQCOUNTSOURCE=4,REMOTEDISPLAYUPDATE=ON\n");
  EXPECT_EQ(settings(), chosen);
}

// The counter panel names its input as the command file chooses it, in COUNTER mode and
// out of it; a value off the list keeps both the input and its name.
TEST_F(RemoteCommands, CounterSourceShowsTheNewInputsNameOnTheCounterPanel) {
  const auto inputShown = [this] {
    for (const DrawOp& op : p.Picture10.ops)
      if (op.kind == DrawOp::Kind::Text && op.points[0].x == 800 && op.points[0].y == 80)
        return op.text;
    return std::string("(none)");
  };
  EXPECT_EQ(inputShown(), " Ch C  ");
  std::vector<std::string> names;
  for (const char* source : {"1", "2", "3", "0", "2"}) {
    run(std::string("FREQCOUNTSOURCE=") + source + "\n");
    names.push_back(inputShown());
  }
  EXPECT_EQ(names,
            (std::vector<std::string>{" Ch D  ", " Trig  ", " Ref   ", " Ch C  ", " Trig  "}));
  run("FREQCOUNTSOURCE=4\n");
  EXPECT_EQ(std::tuple(s.FCntSource, inputShown()), std::tuple(2, std::string(" Trig  ")));

  while (s.OperatingMode != 3) p.SmodeUP.press();
  run("SCOPEMODE=3,FREQCOUNTSOURCE=1\n");
  EXPECT_EQ(std::tuple(s.FCntSource, inputShown()), std::tuple(1, std::string(" Ch D  ")));
  EXPECT_EQ(p.Picture10.texts().substr(0, 19), "COUNTER| Freq. Hz  ");
}

TEST_F(RemoteCommands, AnUnlistedSizeStillRefreshesChannelsTriggerAndTimebase) {
  s.SampleSizeIndex = 2;
  const std::vector<PictureArea*> redrawn{&p.Picture3, &p.Picture4, &p.Picture5, &p.SSIZEDISP};
  std::vector<std::uint64_t> before;
  for (PictureArea* a : redrawn) before.push_back(a->clears);
  run("SAMPLESIZE=3\n");
  EXPECT_EQ(s.SampleSizeIndex, 2);
  for (std::size_t i = 0; i < before.size(); ++i)
    EXPECT_GT(redrawn[i]->clears, before[i]) << redrawn[i]->name;
  run("SAMPLESIZE=16\n");
  EXPECT_EQ(s.SizeIndexA, 3);  // the timebase copies follow the size the file chose
}

TEST_F(RemoteCommands, TriggerLevelIsCutToMillivoltsDownwardsInsideTheSourcesRange) {
  // Range 1 is 10 V, range 0 is 1 V (B stays on 10 V); the marker sits at the level's
  // share of full scale. A digital source keeps the share it had, and the level unclamped.
  const std::tuple<int, const char*, float, double> cases[] = {
      {1, "TRIGLEVEL=0.12345", 0.123f, 0.0123},
      {1, "TRIGLEVEL=-0.12345", -0.124f, -0.0124},
      {1, "TRIGLEVEL=0.123", 0.123f, 0.0123},
      {0, "TRIGLEVEL=5", 0.999f, 0.999},
      {0, "TRIGLEVEL=-1", -0.999f, -0.999},
      {0, "TRIGSOURCE=B,TRIGLEVEL=5", 5.0f, 0.5},
      {0, "TRIGSOURCE=B,TRIGLEVEL=10", 9.99f, 0.999},
      {1, "TRIGSOURCE=A,TRIGLEVEL=2.5", 2.5f, 0.25},
      {1, "TRIGSOURCE=C,TRIGLEVEL=50", 50.0f, 0.25},
      // Beyond any scale the level is held to a million volts, a finite float.
      {1, "TRIGSOURCE=C,TRIGLEVEL=1e300", 1e6f, 0.25},
      {1, "TRIGSOURCE=C,TRIGLEVEL=-1e300", -1e6f, 0.25},
  };
  s.RangeB = 1;
  for (const auto& [rangeA, items, volts, share] : cases) {
    s.RangeA = rangeA;
    run(items);
    EXPECT_FLOAT_EQ(s.TrigLevelVolts, volts) << items;
    EXPECT_NEAR(s.TrigCursorY, 2048 - share * 2040, 1e-3) << items;
  }
}

TEST_F(RemoteCommands, GeneratorKeywordsAreClampedRoundedAndSwitchTheCustomStyle) {
  const std::pair<const char*, double> freqs[] = {
      {"2", 5}, {"900000", 500000}, {"1234.5", 1234}, {"1235.5", 1236}, {"-3", 5}, {"7HZ", 7}};
  for (const auto& [value, hz] : freqs) {
    s.GenDirty = 0;
    run(std::string("GENFREQ=") + value);
    EXPECT_EQ(s.GenFreq, hz) << value;
    EXPECT_EQ(s.GenDirty, 1);
  }
  // The amplitude index is three less the value, rounded to even.
  const std::pair<const char*, int> amps[] = {{"1", 2},   {"2", 1}, {"2.5", 1},
                                              {"1.5", 2}, {"0", 2}, {"9", 1}};
  for (const auto& [value, index] : amps) {
    run(std::string("GENAMP=") + value);
    EXPECT_EQ(s.GenAmpIndex, index) << value;
  }
  run("GENSWEEPST=12,GENSTYLE=-2,GENCUSTOMRATE=9\n");
  EXPECT_EQ((std::vector<int>{s.GenSweepStart, s.GenStyle, s.GenCustomRate}),
            (std::vector<int>{9, 0, 4}));
  run("GENSWEEPST=-1,GENSTYLE=7,GENCUSTOMRATE=-1\n");
  EXPECT_EQ((std::vector<int>{s.GenSweepStart, s.GenStyle, s.GenCustomRate}),
            (std::vector<int>{0, 3, 0}));
  // Numbers beyond 64 bits clamp to the same ends as any other large number.
  run("GENSWEEPST=1e300,GENSTYLE=-1e300,GENCUSTOMRATE=99999999999999999999999\n");
  EXPECT_EQ((std::vector<int>{s.GenSweepStart, s.GenStyle, s.GenCustomRate}),
            (std::vector<int>{9, 0, 4}));
  run("GENAMP=-1e300\n");
  EXPECT_EQ(s.GenAmpIndex, 2);
  run("GENAMP=1e300\n");
  EXPECT_EQ(s.GenAmpIndex, 1);
  // GENMODE 2 puts the custom style in, keeping the one it replaces; leaving it takes it out.
  s.GenStyle = 2;
  s.GenDirty = 0;
  run("GENMODE=2\n");
  EXPECT_EQ((std::vector<int>{s.GenMode, s.GenStyle, s.SavedGenStyle, s.GenDirty}),
            (std::vector<int>{2, 4, 2, 1}));
  run("GENMODE=1\n");
  EXPECT_EQ((std::vector<int>{s.GenMode, s.GenStyle}), (std::vector<int>{1, 0}));
  run("GENMODE=3");  // out of the list, on either side: back to normal
  EXPECT_EQ(s.GenMode, 0);
  run("GENMODE=1,GENMODE=-1");
  EXPECT_EQ(s.GenMode, 0);
}

// What the run engine saw at each hand-over: RunFlag, RepeatMode, OperatingMode, FCntMode,
// RemoteExecute and whether the command file was already gone.
std::vector<std::vector<int>> handOvers;

void recordHandOver(Scope& s) {
  handOvers.push_back({s.RunFlag, s.RepeatMode, s.OperatingMode, s.FCntMode, s.RemoteExecute,
                       !fs::exists(s.RemotePrefix + "com.txt")});
  s.RunFlag = 0;
}

struct RemoteHandOver : RemoteCommands {
  RemoteHandOver() {
    handOvers.clear();
    s.runControl.go = recordHandOver;
  }
  // A command file passed by from now on: said once, not waited for again, and not
  // stopping a capture started from the panel.
  void expectPassedBy(const std::string& said, const std::string& why) {
    EXPECT_NE(said.find(why), std::string::npos) << said;
    EXPECT_EQ(said.find("QVXcom.txt"), said.rfind("QVXcom.txt")) << said;
    EXPECT_EQ(rig.host.sleeps, std::vector<int>{50});
    s.RemoteFilePath = "QVXcom.txt";
    EXPECT_FALSE(commandFileWaiting(s));
  }
};

// EXECUTE=1 hands one single run over, after the items before it and the deletion; in
// COUNTER it is a frequency measurement. Items after it are read but ignored.
TEST_F(RemoteHandOver, OnlyExecuteOneHandsASingleRunOverAfterDeletionIgnoringLaterItems) {
  for (const char* value : {"0", "2", "YES", "0.5"}) run(std::string("EXECUTE=") + value);
  EXPECT_TRUE(handOvers.empty());
  s.FCntMode = s.RepeatMode = s.RangeA = 1;
  run("SCOPEMODE=3,EXECUTE=1.0;go,ARANGE=0\nSCOPEMODE=4\n");
  EXPECT_EQ(handOvers, (std::vector<std::vector<int>>{{1, 0, 3, 0, 1, 1}}));
  EXPECT_EQ(s.RangeA, 1);
  EXPECT_EQ(s.RemoteExecute, 0);
  EXPECT_EQ(s.PrevMode, 3);  // the mode check ran at once
}

TEST_F(RemoteHandOver, AFileThatCannotBeRemovedRunsOnceUntilItChanges) {
  rig.host.refuseRemoval = "Permission denied";
  ::testing::internal::CaptureStderr();
  run("EXECUTE=1\n");
  for (int i = 0; i < 5; ++i) Timer2_Timer(s);
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(handOvers.size(), 1u);
  expectPassedBy(said, "cannot remove the command file QVXcom.txt (Permission denied)");
  ::testing::internal::CaptureStderr();
  run("ARANGE=0,EXECUTE=1\n");  // the other program writes anew
  ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(handOvers.size(), 2u);
  EXPECT_EQ(s.RangeA, 0);
  // Once its writer removes it, the skipped file is forgotten.
  fs::remove("QVXcom.txt");
  Timer2_Timer(s);
  EXPECT_TRUE(s.RemoteSkipStamp.empty());
}

// A file passed by is the same file only while nothing about it changed: its permissions
// count too, so a command file made readable with chmod alone is run at the next poll.
TEST_F(RemoteHandOver, AFilePassedByIsTriedAgainOnceItsPermissionsChange) {
  rig.host.refuseRemoval = "Permission denied";
  ::testing::internal::CaptureStderr();
  run("EXECUTE=1\n");
  Timer2_Timer(s);
  ::testing::internal::GetCapturedStderr();
  ASSERT_EQ(handOvers.size(), 1u);
  rig.host.refuseRemoval.clear();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  fs::permissions("QVXcom.txt", fs::perms::owner_read | fs::perms::owner_write);
  Timer2_Timer(s);
  EXPECT_EQ(handOvers.size(), 2u);
  EXPECT_FALSE(commandFileThere());

  // As it happens in use: a file of mode 000 is passed by, and run once it is made
  // readable. Root reads any file, so the poll runs as an ordinary user in a child.
  fs::permissions(".", fs::perms::all);
  const pid_t child = ::fork();
  if (child == 0) try {
      if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(10);
      command("ARANGE=0,EXECUTE=1\n");
      fs::permissions("QVXcom.txt", fs::perms::none);
      s.RangeA = 1;
      ::testing::internal::CaptureStderr();
      for (int i = 0; i < 3; ++i) Timer2_Timer(s);
      ::testing::internal::GetCapturedStderr();
      if (handOvers.size() != 2 || s.RangeA != 1) ::_exit(11);
      fs::permissions("QVXcom.txt", fs::perms::owner_read | fs::perms::owner_write |
                                        fs::perms::group_read | fs::perms::others_read);
      Timer2_Timer(s);
      ::_exit(handOvers.size() == 3 && s.RangeA == 0 && !commandFileThere() ? 0 : 12);
    } catch (...) {
      ::_exit(13);
    }
  int status = -1;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "10: no ordinary user, 11: an unreadable file ran, "
                                       "12: the readable file was not run, 13: an error";
}

TEST_F(RemoteHandOver, SomethingThatIsNotAFileIsNeitherRunNorRemovedAndSaidOnce) {
  fs::create_directory("QVXcom.txt");
  ::testing::internal::CaptureStderr();
  for (int i = 0; i < 5; ++i) Timer2_Timer(s);
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_TRUE(fs::is_directory("QVXcom.txt"));
  EXPECT_TRUE(handOvers.empty());
  expectPassedBy(said, "cannot read the command file QVXcom.txt");
}

TEST_F(RemoteCommands, ACommandFileArrivingDuringACaptureStopsItAndIsReadByTheNextPoll) {
  s.TrigMode = 1;
  s.TrigCursorY = 10;  // a level the input never reaches: the capture waits
  s.RangeA = 1;
  rig.host.atTime(rig.host.clock + 3, [this] { command("ARANGE=0\n"); });
  p.GOBUTTON.click();
  EXPECT_EQ((std::vector<int>{s.RunFlag, s.CaptureDone, s.RangeA}), (std::vector<int>{0, 0, 1}));
  EXPECT_TRUE(commandFileThere());
  rig.host.DoEvents();  // the next tick reads it
  rig.host.Sleep(2);
  rig.host.DoEvents();
  EXPECT_EQ(s.RangeA, 0);
  EXPECT_FALSE(commandFileThere());
}

// With no one watching the window nothing clears what the skin would have shown, yet every
// drawing list must be rebuilt rather than grow, or a long-running program fills its memory.
TEST_F(RemoteCommands, RunsUnderAPrefixWriteTheirDataFilesWithThePollOffAndBoundedDrawing) {
  const auto drawOperations = [this] {
    std::size_t n = 0;
    for (const Widget* w : p.controls)
      if (w->kind == Widget::Kind::Picture) n += static_cast<const PictureArea*>(w)->ops.size();
    return n;
  };
  s.RemotePrefix = "LAB";
  std::ofstream("QVXcom.txt") << "ARANGE=0\n";  // not ours any more
  bool pollOffDuringRun = true;
  rig.host.onPump = [&] { pollOffDuringRun &= s.RunFlag == 0 || !p.Timer2.enabled(); };
  std::size_t settled = 0;
  for (int i = 0; i < 55; ++i) {
    if (i == 5) settled = drawOperations();
    run("SAMPLESIZE=2,SAMPLERATE=4,TRIGLEVEL=0.5,ADATA=1,DDATA=1,EXECUTE=1\n");
  }
  EXPECT_EQ(drawOperations(), settled);
  EXPECT_TRUE(pollOffDuringRun);
  EXPECT_TRUE(fs::exists("QVXcom.txt"));
  EXPECT_EQ(fs::file_size("LABAdata.dat"), 4096u);
  EXPECT_EQ(fs::file_size("LABddata.dat"), 2048u);
  EXPECT_TRUE(p.Timer2.enabled());
  EXPECT_EQ(p.Timer2.interval(), 1);
}

}  // namespace
}  // namespace qvx
