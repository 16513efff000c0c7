#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>

#include "help/help.h"
#include "help/pages.h"
#include "started_scope.h"

namespace qvx {
namespace {

struct HelpPanel : ::testing::Test, testing::StartedScope {
  // Opens the panel, runs `script` on the first pump, then presses EXIT.
  void withPanelOpen(const std::function<void()>& script) {
    rig.host.afterPumps(1, [this, script] {
      script();
      p.helpexit.click();
    });
    p.helpbutton.click();
  }
  // Opens the panel, clicks every topic in turn and calls `look` once its page is up.
  void visitEveryTopic(const std::function<void(Button&)>& look) {
    const auto& topics = helpTopics();
    for (std::size_t i = 0; i < topics.size(); ++i) {
      Button& b = p.*(topics[i].button);
      rig.host.afterPumps(int(2 * i + 1), [&b] { b.click(); });
      rig.host.afterPumps(int(2 * i + 2), [&b, look] { look(b); });
    }
    rig.host.afterPumps(int(2 * topics.size() + 1), [this] { p.helpexit.click(); });
    p.helpbutton.click();
  }
};

std::string title(const std::string& texts) {
  return texts.substr(0, texts.find('|'));
}

TEST_F(HelpPanel, OpensOnReadme1stWithThePollOffAndClosesOnExit) {
  bool pollOff = true, shown = false;
  std::string first;
  withPanelOpen([&] {
    pollOff = !p.Timer2.enabled();
    shown = p.helpwindow.shown() && p.helppage.shown();
    first = title(p.helppage.texts());
  });
  EXPECT_TRUE(pollOff);
  EXPECT_TRUE(shown);
  EXPECT_EQ(first, "Readme 1st");
  EXPECT_FALSE(p.helpwindow.visible);
  EXPECT_TRUE(p.Timer2.enabled());
  EXPECT_EQ(s.HelpTopicShown, 0);
}

TEST_F(HelpPanel, EveryTopicButtonShowsItsOwnPageTitledWithItsCaption) {
  std::set<std::string> pages;
  std::vector<std::string> titles, captions;
  int markedAlone = 0;
  visitEveryTopic([&](Button& b) {
    pages.insert(p.helppage.texts());
    titles.push_back(title(p.helppage.texts()));
    captions.push_back(b.caption);
    int sameColour = 0;
    for (const HelpTopic& t : helpTopics())
      sameColour += (p.*(t.button)).backColour == b.backColour;
    markedAlone += sameColour == 1;
  });
  EXPECT_EQ(titles, captions);
  EXPECT_EQ(pages.size(), helpTopics().size());
  EXPECT_EQ(markedAlone, int(helpTopics().size()));
}

TEST(HelpPages, EveryPageBelongsToOneTopicAndEveryTopicHasAPage) {
  std::set<std::string_view> files;
  for (const HelpPageFile& f : helpPageFiles()) files.insert(f.name);
  std::set<std::string_view> topics;
  for (const HelpTopic& t : helpTopics()) {
    topics.insert(t.page);
    EXPECT_FALSE(helpPageText(t.page).empty()) << t.page;
  }
  EXPECT_EQ(files, topics);
}

// Every caption a button can show: as started, during a run, and after the buttons that
// change their own faces were pressed.
std::set<std::string> reachableCaptions(testing::StartedScope& st) {
  std::set<std::string> seen;
  auto collect = [&] {
    for (const Widget* w : st.p.controls)
      if (w->kind == Widget::Kind::Button) seen.insert(static_cast<const Button*>(w)->caption);
  };
  collect();
  st.rig.host.onPump = collect;
  st.p.GOBUTTON.click();
  st.rig.host.onPump = nullptr;
  for (Button* b : {&st.p.TRESETBUTTON, &st.p.Command2, &st.p.SCHAbutton}) {
    b->press();
    collect();
  }
  return seen;
}

TEST(HelpPages, EveryBracketedCaptionIsOneTheWindowShows) {
  testing::StartedScope st;
  const std::set<std::string> captions = reachableCaptions(st);
  ASSERT_TRUE(captions.count("STOP") && captions.count("Repeat") && captions.count("ON"));
  const std::regex bracketed(R"(\[([^\]]+)\])");
  int named = 0;
  for (const HelpPageFile& f : helpPageFiles()) {
    const std::string text(f.text);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), bracketed);
         it != std::sregex_iterator(); ++it) {
      ++named;
      EXPECT_TRUE(captions.count((*it)[1].str())) << f.name << " names [" << (*it)[1] << "]";
    }
  }
  EXPECT_GT(named, 30);
}

TEST_F(HelpPanel, EveryPageFitsItsAreaAtTheDefaultSize) {
  int looked = 0;
  visitEveryTopic([&](Button& b) {
    ++looked;
    const PictureArea& page = p.helppage;
    ASSERT_GT(page.ops.size(), 3u) << b.caption;
    for (const DrawOp& op : page.ops) {
      PictureArea probe("probe");
      probe.place = page.place;
      probe.fontSize = op.fontSize;
      EXPECT_LE(op.points[0].y + probe.textHeight(), page.ScaleHeight())
          << b.caption << ": " << op.text;
      EXPECT_LE(op.points[0].x + probe.textWidth(op.text), page.ScaleWidth())
          << b.caption << ": " << op.text;
    }
  });
  EXPECT_EQ(looked, int(helpTopics().size()));
}

TEST(HelpPages, TextIsFilledToTheWidthWithListPointsOnLinesOfTheirOwn) {
  PictureArea area("a");
  area.place = {0, 0, 3000, 3000};
  area.fontSize = 10;  // 100 twips a character: 30 to a line
  const auto lines = wrapHelpText(
      area,
      "one two three four five six seven eight nine\nten\n\n# Head\n- a point that runs on "
      "over more than one line\n- b",
      3000);
  ASSERT_GE(lines.size(), 6u);
  std::string words;
  for (const std::string& l : lines) {
    EXPECT_LE(area.textWidth(l), 3000) << l;
    words += l + " ";
  }
  EXPECT_EQ(lines[0].rfind("one ", 0), 0u);
  EXPECT_NE(std::find(lines.begin(), lines.end(), ""), lines.end());  // paragraph gap
  const auto point = std::find_if(lines.begin(), lines.end(),
                                  [](const std::string& l) { return l.find("a point") != l.npos; });
  ASSERT_NE(point, lines.end());
  EXPECT_EQ(*(point - 1), "# Head");  // a heading stands alone, before the list
  EXPECT_EQ(point->rfind("\u2022", 0), 0u);
  EXPECT_EQ((point + 1)->rfind("    ", 0), 0u);  // its next line is indented
  EXPECT_EQ(lines.back(), "\u2022  b");
  std::istringstream in(words);
  std::string w, order;
  while (in >> w)
    if (w != "\u2022" && w != "#" && w != "Head") order += w + " ";
  EXPECT_EQ(order,
            "one two three four five six seven eight nine ten a point that runs on over more "
            "than one line b ");
}

TEST_F(HelpPanel, AnOpenPanelSleepsBetweenLooksInsteadOfSpinning) {
  const int pumpsBefore = rig.host.pumps;
  rig.host.atTime(rig.host.clock + 1, [this] { p.helpexit.click(); });
  rig.host.onPump = [this] {
    if (rig.host.pumps > 100000) p.helpexit.click();
  };
  p.helpbutton.click();
  EXPECT_LT(rig.host.pumps - pumpsBefore, 200);
}

}  // namespace
}  // namespace qvx
