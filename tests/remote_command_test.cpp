#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "control/run.h"
#include "remote/command_file.h"
#include "started_scope.h"

namespace qvx {
namespace {

namespace fs = std::filesystem;

struct RemoteCommands : ::testing::Test, testing::StartedScope {};

TEST_F(RemoteCommands, NoFileChangesNothingAndWaitsForNothing) {
  s.RemoteExecute = 1;
  Timer2_Timer(s);
  EXPECT_EQ(s.RemoteExecute, 0);
  EXPECT_TRUE(rig.host.sleeps.empty());
}

TEST_F(RemoteCommands, TheFileIsReadAfterAFiftyMillisecondGraceAndDeleted) {
  run("ADATA=1;data\n");
  EXPECT_EQ(s.WriteDataA, 1);
  EXPECT_EQ(rig.host.sleeps, std::vector<int>{50});
  EXPECT_FALSE(commandFileThere());
  s.RangeA = 0;
  run("ARANGE=1;range\n");
  EXPECT_EQ(s.RangeA, 1);
}

TEST_F(RemoteCommands, IgnoredItemsChangeNothingRecognisedOnesApply) {
  s.RangeA = 0;
  run("X=1,ARANGE=\narange = 1\n");
  EXPECT_EQ(s.RangeA, 0);
  run("ARANGE= 1  \n");
  EXPECT_EQ(s.RangeA, 1);
}

TEST_F(RemoteCommands, ChannelAndTriggerKeywordsTakeOnlyTheirListedValues) {
  run("ARANGE=0,BRANGE=0,AMODE=DC,BMODE=DC,APROBE=10,BPROBE=10,TRIGMODE=2,TRIGSOURCE=D,"
      "TRIGSLOPE=NEG,PRETRIG=2,SAMPLERATE=4,SAMPLESIZE=64,ADATA=1,BDATA=1,CDATA=1,DDATA=1,"
      "REMOTEDISPLAYUPDATE=0\n");
  EXPECT_EQ((std::vector<int>{s.RangeA, s.RangeB, s.CouplingA, s.CouplingB, s.ProbeA, s.ProbeB}),
            (std::vector<int>{0, 0, 1, 1, 1, 1}));
  EXPECT_EQ((std::vector<int>{s.TrigMode, s.TrigSource, s.TrigSlope, s.PretrigIndex}),
            (std::vector<int>{2, 3, -1, 2}));
  EXPECT_EQ(s.SampleRateIndex, 4);
  EXPECT_EQ(s.SampleSizeIndex, 5);
  EXPECT_EQ((std::vector<int>{s.WriteDataA, s.WriteDataB, s.WriteDataC, s.WriteDataD,
                              s.RemoteDisplayUpdate}),
            (std::vector<int>{1, 1, 1, 1, 0}));

  // Values outside each list, including near misses, leave every setting alone.
  run("ARANGE=2,AMODE=D,APROBE=0,TRIGMODE=3,TRIGSOURCE=E,TRIGSLOPE=+,PRETRIG=-1,"
      "SAMPLERATE=5,SAMPLESIZE=128,ADATA=2,REMOTEDISPLAYUPDATE=ON\n");
  EXPECT_EQ((std::vector<int>{s.RangeA, s.CouplingA, s.ProbeA, s.TrigMode, s.TrigSource,
                              s.TrigSlope, s.PretrigIndex, s.SampleRateIndex, s.SampleSizeIndex,
                              s.WriteDataA, s.RemoteDisplayUpdate}),
            (std::vector<int>{0, 1, 1, 2, 3, -1, 2, 4, 5, 1, 0}));
}

TEST_F(RemoteCommands, AnUnlistedSizeStillRefreshesChannelsTriggerAndTimebase) {
  s.SampleSizeIndex = 2;
  const auto before = std::vector<std::uint64_t>{p.Picture3.clears, p.Picture4.clears,
                                                 p.Picture5.clears, p.SSIZEDISP.clears};
  run("SAMPLESIZE=3\n");
  EXPECT_EQ(s.SampleSizeIndex, 2);
  const auto after = std::vector<std::uint64_t>{p.Picture3.clears, p.Picture4.clears,
                                                p.Picture5.clears, p.SSIZEDISP.clears};
  for (std::size_t i = 0; i < before.size(); ++i) EXPECT_GT(after[i], before[i]) << i;
  // The timebase copies follow the size the file chose.
  run("SAMPLESIZE=16\n");
  EXPECT_EQ(s.SizeIndexA, 3);
}

TEST_F(RemoteCommands, TriggerLevelIsCutToMillivoltsDownwards) {
  s.RangeA = 1;
  run("TRIGLEVEL=0.12345\n");
  EXPECT_FLOAT_EQ(s.TrigLevelVolts, 0.123f);
  run("TRIGLEVEL=-0.12345\n");
  EXPECT_FLOAT_EQ(s.TrigLevelVolts, -0.124f);
  run("TRIGLEVEL=0.123\n");
  EXPECT_FLOAT_EQ(s.TrigLevelVolts, 0.123f);
  // On the 10 V range the marker sits at the level's share of full scale.
  EXPECT_NEAR(s.TrigCursorY, 2048 - 0.0123 * 2040, 1e-3);
}

TEST_F(RemoteCommands, TriggerLevelIsHeldInsideTheSourceChannelsRange) {
  s.RangeA = 0;
  s.RangeB = 1;
  run("TRIGLEVEL=5\n");
  EXPECT_FLOAT_EQ(s.TrigLevelVolts, 0.999f);
  EXPECT_NEAR(s.TrigCursorY, 2048 - 0.999 * 2040, 1e-3);
  run("TRIGLEVEL=-1\n");
  EXPECT_FLOAT_EQ(s.TrigLevelVolts, -0.999f);
  // Source B on its 10 V range: 5 V fits, 10 V does not.
  run("TRIGSOURCE=B,TRIGLEVEL=5\n");
  EXPECT_FLOAT_EQ(s.TrigLevelVolts, 5.0f);
  EXPECT_NEAR(s.TrigCursorY, 2048 - 0.5 * 2040, 1e-3);
  run("TRIGLEVEL=10\n");
  EXPECT_FLOAT_EQ(s.TrigLevelVolts, 9.99f);
}

TEST_F(RemoteCommands, DigitalSourceKeepsTheLevelFractionItHad) {
  run("TRIGSOURCE=A,TRIGLEVEL=2.5\n");  // 10 V range: a quarter of full scale
  const float fraction = s.TrigLevelNorm;
  run("TRIGSOURCE=C,TRIGLEVEL=50\n");
  EXPECT_FLOAT_EQ(s.TrigLevelVolts, 50.0f);  // not clamped
  EXPECT_NEAR(s.TrigCursorY, 2048 - fraction * 2040.0, 1e-3);
}

TEST_F(RemoteCommands, GeneratorFrequencySweepStyleAndRateAreClamped) {
  const std::pair<const char*, double> freqs[] = {
      {"2", 5}, {"900000", 500000}, {"1234.5", 1234}, {"1235.5", 1236}, {"-3", 5}, {"7HZ", 7}};
  for (const auto& [value, hz] : freqs) {
    s.GenDirty = 0;
    run(std::string("GENFREQ=") + value + "\n");
    EXPECT_EQ(s.GenFreq, hz) << value;
    EXPECT_EQ(s.GenDirty, 1);
  }
  run("GENSWEEPST=12,GENSTYLE=-2,GENCUSTOMRATE=9\n");
  EXPECT_EQ((std::vector<int>{s.GenSweepStart, s.GenStyle, s.GenCustomRate}),
            (std::vector<int>{9, 0, 4}));
  run("GENSWEEPST=-1,GENSTYLE=7,GENCUSTOMRATE=-1\n");
  EXPECT_EQ((std::vector<int>{s.GenSweepStart, s.GenStyle, s.GenCustomRate}),
            (std::vector<int>{0, 3, 0}));
}

TEST_F(RemoteCommands, AmplitudeIndexIsThreeLessTheValueRoundedToEven) {
  const std::pair<const char*, int> cases[] = {{"1", 2},   {"2", 1}, {"2.5", 1},
                                               {"1.5", 2}, {"0", 2}, {"9", 1}};
  for (const auto& [value, index] : cases) {
    run(std::string("GENAMP=") + value + "\n");
    EXPECT_EQ(s.GenAmpIndex, index) << value;
  }
}

TEST_F(RemoteCommands, GeneratorModeSwitchesToAndFromTheCustomStyle) {
  s.GenStyle = 2;
  s.GenDirty = 0;
  run("GENMODE=2\n");
  EXPECT_EQ((std::vector<int>{s.GenMode, s.GenStyle, s.SavedGenStyle, s.GenDirty}),
            (std::vector<int>{2, 4, 2, 1}));
  run("GENMODE=1\n");
  EXPECT_EQ(s.GenMode, 1);
  EXPECT_EQ(s.GenStyle, 0);
  for (const char* wrapsToNormal : {"3", "-1", "SWEEP"}) {
    s.GenMode = 1;
    run(std::string("GENMODE=") + wrapsToNormal + "\n");
    EXPECT_EQ(s.GenMode, 0) << wrapsToNormal;
  }
}

TEST_F(RemoteCommands, CounterSourceTakesZeroToThree) {
  run("FREQCOUNTSOURCE=2\n");
  EXPECT_EQ(s.FCntSource, 2);
  run("FREQCOUNTSOURCE=4\n");
  EXPECT_EQ(s.FCntSource, 2);
}

// What the run engine saw when the command file handed a run over.
struct HandOver {
  int calls = 0;
  int runFlag = -1, repeat = -1, mode = -1, counterMode = -1, execute = -1;
  bool fileGone = false;
};
HandOver handOver;

void recordHandOver(Scope& s) {
  ++handOver.calls;
  handOver.runFlag = s.RunFlag;
  handOver.repeat = s.RepeatMode;
  handOver.mode = s.OperatingMode;
  handOver.counterMode = s.FCntMode;
  handOver.execute = s.RemoteExecute;
  handOver.fileGone = !fs::exists(s.RemotePrefix + "com.txt");
  s.RunFlag = 0;
}

struct RemoteHandOver : RemoteCommands {
  RemoteHandOver() {
    handOver = {};
    s.runControl.go = recordHandOver;
  }
};

TEST_F(RemoteHandOver, ExecuteSwitchesToCounterAndHandsOneSingleRunOverAfterDeletion) {
  s.FCntMode = 1;
  s.RepeatMode = 1;
  run("SCOPEMODE=3,EXECUTE=1\n");
  EXPECT_EQ(handOver.calls, 1);
  EXPECT_EQ(handOver.mode, 3);
  EXPECT_EQ(handOver.counterMode, 0);  // a remote counter run measures frequency
  EXPECT_EQ(handOver.runFlag, 1);
  EXPECT_EQ(handOver.repeat, 0);
  EXPECT_EQ(handOver.execute, 1);
  EXPECT_TRUE(handOver.fileGone);
  EXPECT_EQ(s.RemoteExecute, 0);
  EXPECT_EQ(s.PrevMode, 3);  // the mode check ran at once
}

TEST_F(RemoteHandOver, ItemsAfterExecuteAreReadButIgnored) {
  s.RangeA = 1;
  run("EXECUTE=1,ARANGE=0\nSCOPEMODE=4\n");
  EXPECT_EQ(handOver.calls, 1);
  EXPECT_EQ(s.RangeA, 1);
  EXPECT_EQ(s.OperatingMode, 0);
}

TEST_F(RemoteHandOver, OnlyTheNumberOneExecutes) {
  for (const char* value : {"0", "2", "YES", "0.5"}) run(std::string("EXECUTE=") + value + "\n");
  EXPECT_EQ(handOver.calls, 0);
  run("EXECUTE=1.0;go\n");
  EXPECT_EQ(handOver.calls, 1);
}

TEST_F(RemoteHandOver, AFileThatCannotBeRemovedRunsOnceUntilItChanges) {
  rig.host.refuseRemoval = "Permission denied";
  ::testing::internal::CaptureStderr();
  run("EXECUTE=1\n");
  for (int i = 0; i < 5; ++i) Timer2_Timer(s);
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(handOver.calls, 1);
  // Skipped polls do not wait for a writer, so the window stays responsive.
  EXPECT_EQ(rig.host.sleeps, std::vector<int>{50});
  EXPECT_NE(said.find("cannot remove the command file QVXcom.txt (Permission denied)"),
            std::string::npos)
      << said;
  EXPECT_EQ(said.find("QVXcom.txt"), said.rfind("QVXcom.txt"));  // said once

  // A capture from the panel is not stopped by the stale file.
  s.RemoteFilePath = "QVXcom.txt";
  EXPECT_FALSE(commandFileWaiting(s));

  ::testing::internal::CaptureStderr();
  run("ARANGE=0,EXECUTE=1\n");  // the other program writes a new command
  ::testing::internal::GetCapturedStderr();
  EXPECT_TRUE(commandFileThere());
  EXPECT_EQ(handOver.calls, 2);
  EXPECT_EQ(s.RangeA, 0);
}

TEST_F(RemoteHandOver, SomethingThatIsNotAFileIsNeitherRunNorRemovedAndSaidOnce) {
  fs::create_directory("QVXcom.txt");
  ::testing::internal::CaptureStderr();
  for (int i = 0; i < 5; ++i) Timer2_Timer(s);
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_TRUE(fs::is_directory("QVXcom.txt"));
  EXPECT_EQ(handOver.calls, 0);
  EXPECT_EQ(rig.host.sleeps, std::vector<int>{50});
  EXPECT_NE(said.find("cannot read the command file QVXcom.txt"), std::string::npos) << said;
  EXPECT_EQ(said.find("QVXcom.txt"), said.rfind("QVXcom.txt"));
  // Nor does it stop a capture started from the panel.
  s.RemoteFilePath = "QVXcom.txt";
  EXPECT_FALSE(commandFileWaiting(s));
}

TEST_F(RemoteHandOver, AFileRemovedByItsWriterIsForgotten) {
  rig.host.refuseRemoval = "Permission denied";
  ::testing::internal::CaptureStderr();
  run("EXECUTE=1\n");
  fs::remove("QVXcom.txt");
  Timer2_Timer(s);
  EXPECT_TRUE(s.RemoteSkipStamp.empty());
  ::testing::internal::GetCapturedStderr();
}

TEST_F(RemoteCommands, APrefixNamesTheCommandAndDataFiles) {
  s.RemotePrefix = "LAB";
  command("SAMPLESIZE=2,SAMPLERATE=4,ADATA=1,DDATA=1,EXECUTE=1\n");
  std::ofstream("QVXcom.txt") << "ARANGE=0\n";  // not ours any more
  Timer2_Timer(s);
  EXPECT_FALSE(commandFileThere());
  EXPECT_TRUE(fs::exists("QVXcom.txt"));
  EXPECT_EQ(fs::file_size("LABAdata.dat"), 4096u);
  EXPECT_EQ(fs::file_size("LABddata.dat"), 2048u);
  EXPECT_FALSE(fs::exists("QVXAdata.dat"));
}

TEST_F(RemoteCommands, ThePollStaysOffDuringARemoteRunAndComesBackAfterIt) {
  command("SAMPLESIZE=2,SAMPLERATE=4,ADATA=1,EXECUTE=1\n");
  bool pollOffDuringRun = true;
  rig.host.onPump = [&] { pollOffDuringRun &= s.RunFlag == 0 || !p.Timer2.enabled(); };
  Timer2_Timer(s);
  EXPECT_TRUE(pollOffDuringRun);
  EXPECT_EQ(s.CaptureDone, 1);
  EXPECT_EQ(fs::file_size("QVXAdata.dat"), 4096u);
  EXPECT_EQ(p.GOBUTTON.caption, "GO");
  EXPECT_TRUE(p.Timer2.enabled());
  EXPECT_EQ(p.Timer2.interval(), 1);
}

TEST_F(RemoteCommands, ACommandFileArrivingDuringACaptureStopsItAndIsReadByTheNextPoll) {
  s.TrigMode = 1;
  s.TrigCursorY = 10;  // a level the input never reaches: the capture waits
  s.RangeA = 1;
  rig.host.atTime(rig.host.clock + 3, [this] { command("ARANGE=0\n"); });
  p.GOBUTTON.click();
  EXPECT_EQ(s.RunFlag, 0);
  EXPECT_EQ(s.CaptureDone, 0);
  EXPECT_TRUE(commandFileThere());
  EXPECT_EQ(s.RangeA, 1);
  EXPECT_TRUE(p.Timer2.enabled());
  // The poll runs again once the run is over, on its next tick.
  rig.host.DoEvents();
  rig.host.Sleep(2);
  rig.host.DoEvents();
  EXPECT_EQ(s.RangeA, 0);
  EXPECT_FALSE(commandFileThere());
}

}  // namespace
}  // namespace qvx

namespace qvx {
namespace {

std::size_t drawOperations(const Panel& p) {
  std::size_t n = 0;
  for (const Widget* w : p.controls)
    if (w->kind == Widget::Kind::Picture) n += static_cast<const PictureArea*>(w)->ops.size();
  return n;
}

// With no one watching the window, nothing clears what the skin would have shown: every
// drawing list must still be rebuilt rather than grow, or a long-running program fills
// its memory.
TEST_F(RemoteCommands, DrawingListsStayBoundedOverManyRemoteRuns) {
  const std::string command = "SAMPLESIZE=2,SAMPLERATE=4,TRIGLEVEL=0.5,ADATA=1,EXECUTE=1\n";
  for (int i = 0; i < 5; ++i) run(command);
  const std::size_t settled = drawOperations(p);
  for (int i = 0; i < 50; ++i) run(command);
  EXPECT_EQ(drawOperations(p), settled);
  EXPECT_FALSE(commandFileThere());
}

}  // namespace
}  // namespace qvx
