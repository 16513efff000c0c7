#include "counter/recorder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "counter_rig.h"

namespace qvx {
namespace {

using testing::CounterRig;

std::vector<std::string> lines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  std::vector<std::string> out;
  std::string text = all.str(), line;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find("\r\n", at);
    if (end == std::string::npos) {
      out.push_back(text.substr(at) + "<no line end>");
      break;
    }
    out.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return out;
}

TEST(RecorderDue, DueTimesAndTheMidnightWrap) {
  EXPECT_TRUE(recorderDue(50000, 50000));
  EXPECT_FALSE(recorderDue(49999, 50000));
  // Before midnight, a due time already wrapped into the morning is not yet due.
  EXPECT_FALSE(recorderDue(86300, 200));
  // After midnight, a due time left in the evening is overdue...
  EXPECT_TRUE(recorderDue(100, 86350));
  // ...and one that ran past midnight without being reduced falls due once reached.
  EXPECT_FALSE(recorderDue(100, 86600));
  EXPECT_TRUE(recorderDue(200, 86600));
  EXPECT_FALSE(recorderDue(20000, 86600));  // not in the early morning: not due
}

TEST(RecorderTest, AcrossMidnightWithASixHundredSecondInterval) {
  testing::TempFolder folder;
  testing::Rig rig;
  Scope& s = rig.scope;
  s.FilePath = "rec.csv";
  s.FRecInterval = 600;
  s.FCntValue = 5000;
  auto at = [&](double timeOfDay) {
    rig.host.clock = timeOfDay - 12 * 3600;  // the scripted host's day starts its clock at noon
    FRecTest(s);
  };
  s.FRecNextTime = 86000;
  at(86000);
  EXPECT_EQ(s.FRecNextTime, 86600);
  at(86300);
  at(86400 + 100);  // 00:01:40
  at(86400 + 200);  // 00:03:20: 200 + 86,400 reaches the due time
  EXPECT_EQ(s.FRecNextTime, 87200);
  EXPECT_EQ(lines("rec.csv"), (std::vector<std::string>{"0,5000", "600,5000"}));

  s.FRecNextTime = 96000;  // due times above 96,399 come back into the day
  at(86400 + 9600);
  EXPECT_EQ(s.FRecNextTime, 96600 - 86400);
}

TEST(RecorderName, IntervalExtensionAndFolder) {
  EXPECT_EQ(recorderInterval("2"), 0);
  EXPECT_EQ(recorderInterval("10000"), 0);
  EXPECT_EQ(recorderInterval("  7"), 7);
  EXPECT_EQ(recorderInterval("9999"), 9999);
  EXPECT_EQ(recorderInterval("abc"), 0);
  EXPECT_EQ(recorderFileName("data.txt", "csv"), "data.csv");
  EXPECT_EQ(recorderFileName("data", "csv"), "data.csv");
  EXPECT_EQ(recorderFileName("a.b.c", "csv"), "a.csv");
  EXPECT_EQ(recorderFileName("run.1/log", "csv"), "run.1/log.csv");

  testing::Rig rig;
  Scope& s = rig.scope;
  s.SaveExt = "csv";
  s.SaveWhat = "Frequency data points";
  s.panel.Frecname.text = "log.txt";
  s.FRecFolder = "/";
  frecnametest(s);
  EXPECT_EQ(s.FilePath, "/log.csv");
  s.FRecFolder = "/tmp/x";
  rig.host.answers = {mb::AnswerCancel};
  frecnametest(s);
  EXPECT_EQ(s.FilePath, "/tmp/x/log.csv");
  EXPECT_EQ(s.SaveConfirmed, 0);
  EXPECT_EQ(rig.host.messages.back().text, "Save Frequency data points as /tmp/x/log.csv");
  EXPECT_EQ(rig.host.messages.back().title, "Save message");
  s.panel.Frecname.text = "";
  frecnametest(s);
  EXPECT_EQ(rig.host.messages.back().text, "No File name to save");
}

// Fills the recorder panel once it is open and presses its EXIT.
void fillRecorderPanel(CounterRig& c, const std::string& name, const std::string& interval) {
  c.rig.host.afterPumps(2, [&c, name, interval] {
    ASSERT_TRUE(c.p.Filesavefrec.visible);
    c.p.Frecname.text = name;
    c.p.Frectimerx.text = interval;
    c.p.Command32.press();
  });
}

TEST(Recorder, FiveSecondIntervalAppendsAfterOldLinesAndWritesZeroFiveTen) {
  CounterRig c;
  std::ofstream("freq.csv", std::ios::binary) << "old line\r\n";
  fillRecorderPanel(c, "freq.txt", "5");
  c.p.FCntStSpbutton.press();  // "Rec"
  EXPECT_FALSE(c.p.Filesavefrec.visible);
  EXPECT_NE(c.p.Picture10.texts().find(" 5s       "), std::string::npos);

  std::vector<double> recordedAt;
  std::uintmax_t lastSize = std::filesystem::file_size("freq.csv");
  c.runUntil([&] {
    const auto size = std::filesystem::file_size("freq.csv");
    if (size != lastSize) recordedAt.push_back(c.rig.host.clock);
    lastSize = size;
    return c.s.FCntReadings >= 12;
  });
  const auto written = lines("freq.csv");
  ASSERT_EQ(written.size(), 6u);
  EXPECT_EQ(written[0], "old line");
  EXPECT_TRUE(std::regex_match(written[1], std::regex(R"(\d\d-\d\d-\d{4},12:00:0\d)")))
      << written[1];
  EXPECT_EQ(written[2], "Elaspe(sec),Frequency(Hz)");
  EXPECT_EQ((std::vector<std::string>(written.begin() + 3, written.end())),
            (std::vector<std::string>{"0,5000", "5,5000", "10,5000"}));
  ASSERT_EQ(recordedAt.size(), 3u);
  EXPECT_NEAR(recordedAt[1] - recordedAt[0], 5, 1.2);
  EXPECT_NEAR(recordedAt[2] - recordedAt[1], 5, 1.2);
}

TEST(Recorder, UnwritableFileTellsTheUserOnceAndStopsLookingAsIfRecording) {
  CounterRig c;
  c.s.FRecFolder = (c.folder.path() / "missing").string();  // a folder that is not there
  fillRecorderPanel(c, "freq", "5");
  c.rig.host.afterPumps(4, [&c] {  // the header failed: the panel is still open
    EXPECT_TRUE(c.p.Filesavefrec.visible);
    c.p.Frectimerx.text = "0";
    c.p.Command32.press();
  });
  c.p.FCntStSpbutton.press();
  ASSERT_EQ(c.rig.host.messages.size(), 2u);  // the confirmation, then the failure
  EXPECT_NE(c.rig.host.messages[1].text.find("Unable to save"), std::string::npos);
  EXPECT_FALSE(c.p.Filesavefrec.visible);
  EXPECT_EQ(c.s.FRecInterval, 0);

  // A file that stops being writable while recording.
  std::filesystem::create_directory("rec");
  c.s.FilePath = "rec/freq.csv";
  c.s.FRecInterval = 5;
  c.s.FRecNextTime = 0;
  std::filesystem::remove("rec");
  c.rig.host.messages.clear();
  c.runForReadings(3);
  ASSERT_EQ(c.rig.host.messages.size(), 1u);
  EXPECT_NE(c.rig.host.messages[0].text.find("rec/freq.csv"), std::string::npos);
  EXPECT_EQ(c.s.FRecInterval, 0);
  EXPECT_NE(c.p.Picture10.texts().find(" OFF     "), std::string::npos);
}

TEST(Recorder, EmptyNameAndCancelKeepThePanelOpenAndWriteNothing) {
  CounterRig c;
  fillRecorderPanel(c, "", "5");
  c.rig.host.afterPumps(4, [&c] {
    c.rig.host.answers = {mb::AnswerCancel};
    c.p.Frecname.text = "x";
    c.p.Command32.press();
  });
  c.rig.host.afterPumps(6, [&c] {
    c.p.Frectimerx.text = "2";  // below 3 s: recording off
    c.p.Command32.press();
  });
  c.p.FCntStSpbutton.press();
  ASSERT_EQ(c.rig.host.messages.size(), 2u);
  EXPECT_EQ(c.rig.host.messages[0].text, "No File name to save");
  EXPECT_FALSE(std::filesystem::exists("x.csv"));
  EXPECT_EQ(c.s.FRecInterval, 0);
  EXPECT_EQ(c.p.Frectimerx.text, "0");
}

}  // namespace
}  // namespace qvx
