#include "device/port_panel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
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

std::string portFile() {
  std::ifstream in(kPortFileName, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void writePortFile(const std::string& text) {
  std::ofstream(kPortFileName, std::ios::binary) << text;
}

// Reads the port file through Checkconfig, leaving the panel at once if it opens; returns the
// port number and whether the panel opened.
std::pair<int, bool> check() {
  Rig r;
  Form_Load(r.scope);
  exitPortPanelWhenShown(r);
  Checkconfig(r.scope);
  return {r.scope.LptNumber, r.scope.panel.CONFIGWINDOW.clears > 0};
}

TEST(PortFile, ReadingTakesTheFirstNumberAndOpensThePanelForAnythingElse) {
  TempFolder folder;
  const struct {
    std::optional<std::string> content;  // none: no file
    int lpt;                             // the number the program goes on with
    std::string written;  // the file afterwards: a good file is left alone, any other one
                          // opens the panel, which rewrites it
  } cases[] = {{" 2 \r\n", 2, " 2 \r\n"},
               {"2", 2, "2"},
               {"3abc", 3, "3abc"},
               {"\r\n 3\r\n", 3, "\r\n 3\r\n"},
               {"2.5", 2, "2.5"},
               {"1,3", 1, "1,3"},
               {"4", 4, " 4 \r\n"},
               {"0", 0, " 0 \r\n"},
               {"-1", -1, "-1 \r\n"},
               {"99999999999999999999", 32767, " 32767 \r\n"},
               {std::nullopt, 1, " 1 \r\n"},
               {"", 1, " 1 \r\n"},
               {"abc", 1, " 1 \r\n"},
               {std::string("\x00\x01\xFF\x80", 4), 1, " 1 \r\n"},
               {std::string(5 << 20, 'x'), 1, " 1 \r\n"},
               {std::string(5 << 20, ' '), 1, " 1 \r\n"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.content ? c.content->substr(0, 20) : "no file");
    std::filesystem::remove(kPortFileName);
    if (c.content) writePortFile(*c.content);
    EXPECT_EQ(check(), std::make_pair(c.lpt, c.written != c.content));
    EXPECT_EQ(portFile(), c.written);
  }
  std::filesystem::remove(kPortFileName);
  std::filesystem::create_directory(kPortFileName);
  EXPECT_EQ(check(), std::make_pair(1, true));
  EXPECT_TRUE(std::filesystem::is_directory(kPortFileName)) << "a folder in its place is kept";
}

// The instrument sits on LPT2 while the file names LPT1.
struct PanelOnLpt2 : ::testing::Test {
  PanelOnLpt2() {
    r.instrument.config().lpt = 2;
    Form_Load(r.scope);
    writePortFile(" 1 \r\n");
    Checkconfig(r.scope);
  }
  const DrawOp* textOp(const std::string& text) const {
    for (const DrawOp& op : r.scope.panel.CONFIGWINDOW.ops)
      if (op.kind == DrawOp::Kind::Text && op.text == text) return &op;
    return nullptr;
  }
  TempFolder folder;
  Rig r;
  Scope& s = r.scope;
  Panel& p = s.panel;
};

TEST_F(PanelOnLpt2, FollowsThePortButtonsAndSavesTheChoice) {
  bool notFoundBefore = false, foundAfter = false;
  int step = 0;
  r.host.onPump = [&] {
    if (++step == 4) {
      notFoundBefore = textOp(" NOT FOUND ") && textOp("  NOT FOUND ");
      p.SETLPT2.press();
    }
    if (step == 10) {
      foundAfter = textOp("  >>FOUND<<   ") != nullptr;
      const DrawOp* port = textOp(" LPT 2 ");
      ASSERT_NE(port, nullptr);
      EXPECT_EQ((std::vector<float>{port->points[0].x, port->points[0].y}),
                (std::vector<float>{4670, 1000}));
      p.CONFIGEXIT.press();
    }
    if (step > 1000) s.unloaded = true;
  };
  SETUP_Click(s);
  EXPECT_TRUE(notFoundBefore && foundAfter);
  EXPECT_FALSE(s.unloaded || p.CONFIGWINDOW.visible);
  EXPECT_EQ(portFile(), " 2 \r\n");
  EXPECT_EQ(s.LptNumber, 2);
  EXPECT_NE(s.ModelCode, 0) << "probe results belong to the chosen port";
  EXPECT_EQ(s.DataPort, 0x278u);
  EXPECT_NE(p.CONFIGWINDOW.texts().find("QVX is currently configured for  |LPT 1"),
            std::string::npos);
}

TEST_F(PanelOnLpt2, LeavingWithoutAChoiceStillRewritesTheFile) {
  writePortFile("1");
  exitPortPanelWhenShown(r, 5);
  SETUP_Click(s);
  EXPECT_EQ(portFile(), " 1 \r\n");
  EXPECT_EQ(s.ModelCode, 0) << "nothing answers on LPT1";
}

// Left open for a long time the panel redraws without piling up drawings; closing the
// window ends it.
TEST_F(PanelOnLpt2, AnOpenPanelDoesNotPileUpDrawingsAndClosingTheWindowEndsIt) {
  r.host.afterPumps(2000, [this] {
    EXPECT_LT(p.CONFIGWINDOW.ops.size(), 20u);
    Form_Unload(s);
  });
  SETUP_Click(s);
  EXPECT_TRUE(s.unloaded);
  EXPECT_FALSE(p.CONFIGWINDOW.visible);
}

// Started with the instrument on LPT2: the panel says why it opened, and its status line
// follows the selected port like the port line does, so the two never disagree.
TEST(PortPanelAtStartUp, SaysWhyItOpenedAndItsStatusFollowsTheSelectedPort) {
  TempFolder folder;
  sim::Config config;
  config.lpt = 2;
  Rig r(config);
  Panel& p = r.scope.panel;
  auto shows = [&p](const std::string& text) {
    return std::count_if(
        p.CONFIGWINDOW.ops.begin(), p.CONFIGWINDOW.ops.end(),
        [&](const DrawOp& op) { return op.kind == DrawOp::Kind::Text && op.text == text; });
  };
  std::vector<std::string> reasons;
  std::vector<std::vector<long>> seen;  // per pump: FOUND, NOT FOUND on each of the two lines
  int pumps = 0;
  r.host.onPump = [&] {
    if (!p.CONFIGWINDOW.visible) {
      pumps = 0;
      return;
    }
    if (++pumps == 1) reasons.push_back(p.CONFIGWINDOW.texts());
    seen.push_back(
        {shows(" FOUND "), shows(" NOT FOUND "), shows("  >>FOUND<<   "), shows("  NOT FOUND ")});
    if (pumps == 4 && reasons.size() == 1) p.SETLPT2.press();
    if (pumps == 12 || pumps > 1000) p.CONFIGEXIT.press();
  };
  Form_Load(r.scope);
  Form_Activate(r.scope);  // no port file: the panel opens, LPT2 is chosen
  ASSERT_EQ(reasons.size(), 1u) << "LPT2 answered: no second panel";
  EXPECT_NE(reasons[0].find("Opened because there is no port file (QVXport.cfg)."),
            std::string::npos);
  ASSERT_GE(seen.size(), 12u);
  EXPECT_EQ(seen[1], (std::vector<long>{0, 1, 0, 1})) << "LPT1: nothing on either line";
  EXPECT_EQ(seen.back(), (std::vector<long>{1, 0, 1, 0})) << "LPT2: found on both lines";
  for (const auto& pump : seen) EXPECT_EQ(pump[0] + pump[1], 1) << "one status at a time";
  // The start goes on with the port chosen: probed there, its generator memory cleared.
  EXPECT_EQ(r.scope.LptNumber, 2);
  EXPECT_NE(r.scope.ModelCode, 0);
  EXPECT_GE(r.instrument.generatorWrites(), 65536);

  // The file now names LPT2; with the instrument moved to LPT3 nothing answers there.
  reasons.clear();
  seen.clear();
  r.instrument.config().lpt = 3;
  Form_Load(r.scope);
  Form_Activate(r.scope);
  ASSERT_EQ(reasons.size(), 1u);
  EXPECT_NE(reasons[0].find("Opened because nothing answered on LPT2."), std::string::npos);
  EXPECT_EQ(reasons[0].find("no port file"), std::string::npos);
}

}  // namespace
}  // namespace qvx
