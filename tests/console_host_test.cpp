#include "core/console_host.h"

#include <gtest/gtest.h>

#include <vector>

namespace qvx {
namespace {

TEST(ConsoleHost, MessageBoxesTakeTheirDefaultAnswerAndSayTheirText) {
  EXPECT_EQ(defaultAnswer(mb::OKCancel), mb::AnswerOK);
  EXPECT_EQ(defaultAnswer(mb::OKCancel | mb::Critical | mb::DefaultButton2), mb::AnswerCancel);
  EXPECT_EQ(defaultAnswer(mb::OK | mb::DefaultButton2), mb::AnswerOK);  // no second button

  ConsoleHost host;
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(host.MsgBox("File exists. Overwrite ?", mb::OKCancel | mb::DefaultButton2, "Save"),
            mb::AnswerCancel);
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("[Save] File exists. Overwrite ?"), std::string::npos) << said;
}

struct ConsoleHostOnPanel : ::testing::Test {
  ConsoleHostOnPanel() { host.attach(panel); }
  Panel panel;
  ConsoleHost host;
};

TEST_F(ConsoleHostOnPanel, APopUpPanelWaitingForItsExitGetsItPressedAndSaysSoOnce) {
  int exits = 0, mainExits = 0;
  panel.CONFIGEXIT.onClick = [&] { ++exits; };
  panel.Command22.onClick = [&] { ++mainExits; };  // the main window's EXIT is never pressed
  const auto pumpsSay = [&](bool shown, int pumps) {
    panel.CONFIGWINDOW.visible = shown;
    ::testing::internal::CaptureStderr();
    for (int i = 0; i < pumps; ++i) host.DoEvents();
    return ::testing::internal::GetCapturedStderr();
  };
  EXPECT_EQ(pumpsSay(false, 1).find("CONFIGWINDOW"), std::string::npos);  // hidden: no wait
  const std::string said = pumpsSay(true, 3);
  EXPECT_EQ(exits, 3);
  EXPECT_NE(said.find("CONFIGWINDOW"), std::string::npos);
  EXPECT_EQ(said.find("CONFIGWINDOW"), said.rfind("CONFIGWINDOW")) << said;
  EXPECT_EQ(mainExits, 0);
  // Opened again later, it is said again.
  pumpsSay(false, 1);
  EXPECT_NE(pumpsSay(true, 1).find("CONFIGWINDOW"), std::string::npos);
}

// The panel's timers count milliseconds on the steady clock: never early, and late by no
// more than a loaded machine makes them, far less than a timer counting in the wrong unit
// (ten times slower or faster) would be. A slower timer beside a fast one keeps its own
// pace, and a one-shot that disables itself fires once.
TEST_F(ConsoleHostOnPanel, TimersFireOnTheRealClockWhenIdleNeitherEarlyNorLate) {
  std::vector<double> fast, slow, once;
  const double start = host.Now();
  panel.Timer2.onTimer = [&] { fast.push_back(host.Now() - start); };
  panel.Timer2.setInterval(60);
  panel.Timer2.setEnabled(true);
  panel.Timer1.onTimer = [&] {
    slow.push_back(host.Now() - start);
    if (slow.size() == 2) panel.Timer1.setEnabled(false);
  };
  panel.Timer1.setInterval(250);
  panel.Timer1.setEnabled(true);
  while (slow.size() < 2 && host.Now() - start < 10) host.idle();
  ASSERT_EQ(slow.size(), 2u);
  // Three whole intervals of the fast timer, and two of the slow one, never early.
  ASSERT_GE(fast.size(), 3u);
  EXPECT_GE(fast[2], 0.180);
  EXPECT_LT(fast[2], 0.180 * 4);
  EXPECT_GE(slow[0], 0.250);
  EXPECT_LT(slow[0], 0.250 * 4);
  EXPECT_GE(slow[1], 0.500);
  EXPECT_LT(slow[1], 0.500 * 3);
  // The fast one went on at its own pace meanwhile: a tick every 60 ms, never sooner.
  EXPECT_LE(fast.size() * 0.060, slow[1] + 0.005);
  EXPECT_GE(fast.size() * 0.060 * 4, slow[1]);
  const double stopped = host.Now();
  while (host.Now() - stopped < 0.3) host.idle();
  EXPECT_EQ(slow.size(), 2u);  // disabled: no more ticks
}

}  // namespace
}  // namespace qvx
