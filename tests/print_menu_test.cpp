#include <gtest/gtest.h>

#include "display/settings.h"
#include "started_scope.h"

namespace qvx {
namespace {

struct PrintMenu : ::testing::Test, testing::StartedScope {
  PrintMenu() {
    s.printer.window = [this](bool portrait) {
      note(portrait ? "window portrait" : "window landscape");
    };
    s.printer.signalDisplay = [this](double share) {
      note("signal " + std::to_string(share).substr(0, 4));
    };
    s.printer.destination = [] { return std::string("the file test.pdf"); };
  }
  // Notes what reached the window's printer; whatever the panel still showed that a print
  // must not (the menu, the math position buttons) or a print not marked active is named
  // after the job.
  void note(std::string job) {
    if (p.printwindow.shown()) job += " +menu";
    if (p.Scrollup.visible || p.scrolldown.visible) job += " +math";
    if (s.PrintActive != 1) job += " -active";
    jobs.push_back(job);
  }
  // Presses PRINT, then `choice` once the menu is up.
  void print(Button& choice) {
    rig.host.afterPumps(2, [&choice] { choice.click(); });
    p.Command1.click();
  }
  std::vector<std::string> jobs;
};

TEST_F(PrintMenu, ShowsItsTextsAndFourButtonsWithThePollOffAndExitPrintsNothing) {
  bool pollOff = true, buttonsUsable = true;
  std::string texts;
  rig.host.onPump = [&] {
    pollOff &= !p.Timer2.enabled();
    for (Button* b : {&p.Printsignal, &p.Printform, &p.PrintformPort, &p.exitprint})
      buttonsUsable &= b->usable();
    texts = p.printwindow.texts();
  };
  const std::uint64_t clears = p.ScopeScreen.clears;
  print(p.exitprint);
  EXPECT_TRUE(pollOff && buttonsUsable);
  for (const char* t : {"Print Function Menu", "The printout will be directed to the file test.pdf",
                        "Click this to print the Signal Display Area only",
                        "Click this to print the whole Scope display in Landscape format",
                        "Click this to print the whole Scope display in Portrait format"})
    EXPECT_NE(texts.find(t), std::string::npos) << t;
  EXPECT_NE(texts.find("start the program with --print-to=FILE.pdf"), std::string::npos);
  EXPECT_TRUE(jobs.empty());
  EXPECT_GT(p.ScopeScreen.clears, clears);  // the display is redrawn

  // Started with --print-to: the menu names the file and no longer offers the option.
  s.printer.toChosenFile = true;
  print(p.exitprint);
  EXPECT_EQ(texts.find("--print-to"), std::string::npos);
  EXPECT_NE(texts.find("The printout will be directed to the file test.pdf"), std::string::npos);
  EXPECT_NE(
      texts.find("(The file was chosen when the program was started; each print replaces it)"),
      std::string::npos);
  EXPECT_FALSE(p.printwindow.visible);
  EXPECT_TRUE(p.Timer2.enabled());
  EXPECT_EQ(rig.host.sleeps, (std::vector<int>{10, 10}));  // the open menu sleeps between looks
}

// Above x1 magnification the math position buttons show on the display but not on a
// print; they are back once it is done.
TEST_F(PrintMenu, EachChoicePrintsOnceWithoutTheMenuAndMathButtonsThenCleansUp) {
  s.SelAplusB = 1;
  s.MathMagIndex = 1;
  SDISPLAY(s);
  const std::pair<Button*, const char*> choices[] = {{&p.Printform, "window landscape"},
                                                     {&p.PrintformPort, "window portrait"},
                                                     {&p.Printsignal, "signal 0.99"}};
  for (const auto& [button, job] : choices) {
    ASSERT_TRUE(p.Scrollup.visible);
    jobs.clear();
    print(*button);
    EXPECT_EQ(jobs, std::vector<std::string>{job});
    EXPECT_EQ((std::vector<int>{s.PrintActive, s.PrintWholeChoice, s.PrintSignalChoice}),
              (std::vector<int>{0, 0, 0}));
  }
  EXPECT_TRUE(p.Scrollup.visible);
}

TEST_F(PrintMenu, WithoutAWindowTheUserIsToldNothingWasPrinted) {
  s.printer = {};
  print(p.Printform);
  ASSERT_EQ(rig.host.messages.size(), 1u);
  EXPECT_NE(rig.host.messages[0].text.find("Nothing was printed"), std::string::npos);
}

}  // namespace
}  // namespace qvx
