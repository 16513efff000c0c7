#include "device/port_panel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "control/startup.h"
#include "device/port_file.h"
#include "port_panel_script.h"
#include "rig.h"

namespace qvx {
namespace {

using testing::exitPortPanelWhenShown;
using testing::Rig;
using testing::TempFolder;

std::string fileText(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void writeFile(const char* path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// Reads the port file through Checkconfig, leaving the panel at once if it opens.
struct CheckResult {
  int lpt;
  bool panelOpened;
  std::string fileAfter;
};

CheckResult check(const std::string& content) {
  Rig r;
  Form_Load(r.scope);
  writeFile(kPortFileName, content);
  exitPortPanelWhenShown(r);
  Checkconfig(r.scope);
  return {r.scope.LptNumber, r.scope.panel.CONFIGWINDOW.clears > 0, fileText(kPortFileName)};
}

TEST(PortFile, GoodNumbersAreTakenWithoutThePanel) {
  TempFolder folder;
  const std::pair<std::string, int> cases[] = {{" 2 \r\n", 2}, {"2", 2},          {"  2  ", 2},
                                               {"3abc", 3},    {"\r\n 3\r\n", 3}, {"2.5", 2},
                                               {"1,3", 1}};
  for (const auto& [content, lpt] : cases) {
    SCOPED_TRACE(content);
    CheckResult c = check(content);
    EXPECT_EQ(c.lpt, lpt);
    EXPECT_FALSE(c.panelOpened);
    EXPECT_EQ(c.fileAfter, content) << "a good file is left alone";
  }
}

TEST(PortFile, OutOfRangeNumberOpensThePanelAndIsKeptUntilAPortIsChosen) {
  TempFolder folder;
  const std::pair<std::string, std::string> cases[] = {{"4", " 4 \r\n"},
                                                       {"0", " 0 \r\n"},
                                                       {"-1", "-1 \r\n"},
                                                       {"99999999999999999999", " 32767 \r\n"}};
  for (const auto& [content, written] : cases) {
    SCOPED_TRACE(content);
    CheckResult c = check(content);
    EXPECT_TRUE(c.panelOpened);
    EXPECT_TRUE(c.lpt < 1 || c.lpt > 3);
    EXPECT_EQ(c.fileAfter, written);
  }
}

TEST(PortFile, UnreadableFilesOpenThePanelAndAreRewritten) {
  TempFolder folder;
  const std::string cases[] = {"",
                               "abc",
                               "LPT2",
                               std::string("\x00\x01\xFF\x80", 4),
                               std::string(5 * 1024 * 1024, 'x'),
                               std::string(5 * 1024 * 1024, ' ')};
  for (const std::string& content : cases) {
    SCOPED_TRACE(content.size());
    CheckResult c = check(content);
    EXPECT_EQ(c.lpt, 1) << "the port number is left as it was";
    EXPECT_TRUE(c.panelOpened);
    EXPECT_EQ(c.fileAfter, " 1 \r\n");
  }
}

TEST(PortFile, MissingFileOpensThePanelAndIsWritten) {
  TempFolder folder;
  Rig r;
  Form_Load(r.scope);
  exitPortPanelWhenShown(r);
  Checkconfig(r.scope);
  EXPECT_GT(r.scope.panel.CONFIGWINDOW.clears, 0u);
  EXPECT_EQ(r.scope.LptNumber, 1);
  EXPECT_EQ(fileText(kPortFileName), " 1 \r\n");
}

TEST(PortFile, ADirectoryInThePlaceOfTheFileIsSurvived) {
  TempFolder folder;
  std::filesystem::create_directory(kPortFileName);
  Rig r;
  Form_Load(r.scope);
  exitPortPanelWhenShown(r);
  Checkconfig(r.scope);
  EXPECT_GT(r.scope.panel.CONFIGWINDOW.clears, 0u);
  EXPECT_EQ(r.scope.LptNumber, 1);
  EXPECT_TRUE(std::filesystem::is_directory(kPortFileName)) << "never deleted";
}

// The instrument sits on LPT2 while the file names LPT1.
struct PanelOnLpt2 : ::testing::Test {
  PanelOnLpt2() : r(config()) {
    Form_Load(r.scope);
    writeFile(kPortFileName, " 1 \r\n");
    Checkconfig(r.scope);
  }
  static sim::Config config() {
    sim::Config c;
    c.lpt = 2;
    return c;
  }
  const DrawOp* textOp(const std::string& text) const {
    for (const DrawOp& op : r.scope.panel.CONFIGWINDOW.ops)
      if (op.kind == DrawOp::Kind::Text && op.text == text) return &op;
    return nullptr;
  }
  TempFolder folder;
  Rig r;
};

TEST_F(PanelOnLpt2, FollowsThePortButtonsAndSavesTheChoice) {
  Scope& s = r.scope;
  Panel& p = s.panel;
  std::string statusBefore, loopBefore, loopAfter;
  const DrawOp* portOp = nullptr;
  int step = 0;
  r.host.onPump = [&] {
    ++step;
    if (step == 4) {
      statusBefore = textOp(" NOT FOUND ") ? " NOT FOUND " : "";
      loopBefore = textOp("  NOT FOUND ") ? "  NOT FOUND " : "";
      p.SETLPT2.press();
    }
    if (step == 10) {
      loopAfter = textOp("  >>FOUND<<   ") ? "  >>FOUND<<   " : "";
      portOp = textOp(" LPT 2 ");
      ASSERT_NE(portOp, nullptr);
      EXPECT_EQ(portOp->points[0].x, 4670);
      EXPECT_EQ(portOp->points[0].y, 1000);
      EXPECT_EQ(portOp->fontSize, 12);
      EXPECT_TRUE(portOp->opaque);
      p.CONFIGEXIT.press();
    }
    if (step > 1000) s.unloaded = true;
  };
  SETUP_Click(s);

  EXPECT_EQ(statusBefore, " NOT FOUND ");
  EXPECT_EQ(loopBefore, "  NOT FOUND ");
  EXPECT_EQ(loopAfter, "  >>FOUND<<   ");
  EXPECT_FALSE(s.unloaded);
  EXPECT_FALSE(p.CONFIGWINDOW.visible);
  EXPECT_EQ(fileText(kPortFileName), " 2 \r\n");
  EXPECT_EQ(s.LptNumber, 2);
  EXPECT_NE(s.ModelCode, 0) << "probe results belong to the chosen port";
  EXPECT_EQ(s.DataPort, 0x278u);
  EXPECT_NE(p.CONFIGWINDOW.texts().find("Parallel port selection for QVX Scope"),
            std::string::npos);
  EXPECT_NE(p.CONFIGWINDOW.texts().find("QVX is currently configured for  LPT 1"),
            std::string::npos);
}

TEST_F(PanelOnLpt2, LeavingWithoutAChoiceStillRewritesTheFile) {
  writeFile(kPortFileName, "1");
  exitPortPanelWhenShown(r, 5);
  SETUP_Click(r.scope);
  EXPECT_EQ(fileText(kPortFileName), " 1 \r\n");
  EXPECT_EQ(r.scope.ModelCode, 0) << "nothing answers on LPT1";
}

TEST_F(PanelOnLpt2, AnOpenPanelDoesNotPileUpDrawings) {
  exitPortPanelWhenShown(r, 2000);
  SETUP_Click(r.scope);
  ASSERT_FALSE(r.scope.unloaded);
  EXPECT_LT(r.scope.panel.CONFIGWINDOW.ops.size(), 20u);
}

TEST_F(PanelOnLpt2, ClosingTheWindowEndsThePanel) {
  r.host.afterPumps(6, [this] { Form_Unload(r.scope); });
  SETUP_Click(r.scope);
  EXPECT_TRUE(r.scope.unloaded);
  EXPECT_FALSE(r.scope.panel.CONFIGWINDOW.visible);
}

}  // namespace
}  // namespace qvx
