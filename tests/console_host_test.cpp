#include "core/console_host.h"

#include <gtest/gtest.h>

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

TEST_F(ConsoleHostOnPanel, TimersFireOnTheRealClockWhenIdle) {
  int ticks = 0;
  panel.Timer1.onTimer = [&] { ++ticks; };
  panel.Timer1.setInterval(5);
  panel.Timer1.setEnabled(true);
  const double start = host.Now();
  while (ticks < 3 && host.Now() - start < 5) host.idle();
  EXPECT_EQ(ticks, 3);
  EXPECT_GE(host.Now() - start, 0.015);  // three whole intervals, never early
}

}  // namespace
}  // namespace qvx
