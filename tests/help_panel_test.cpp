#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "help/help.h"
#include "help/pages.h"
#include "started_scope.h"

namespace qvx {
namespace {

struct HelpPanel : ::testing::Test, testing::StartedScope {};

// The panel opens on "Readme 1st" with the remote poll off. Each topic's page is titled
// with its button's caption, is marked on its own button alone and fits its area at the
// default size. EXIT closes the panel and restores the poll.
TEST_F(HelpPanel, EveryTopicButtonShowsItsOwnPageThatFits) {
  const auto title = [this] {
    const std::string texts = p.helppage.texts();
    return texts.substr(0, texts.find('|'));
  };
  rig.host.afterPumps(1, [&] {
    EXPECT_FALSE(p.Timer2.enabled());
    EXPECT_TRUE(p.helpwindow.shown() && p.helppage.shown());
    EXPECT_EQ(title(), "Readme 1st");
  });
  std::vector<std::string> titles, captions;
  const auto look = [&](Button& b) {
    titles.push_back(title());
    captions.push_back(b.caption);
    int sameColour = 0;
    for (const HelpTopic& t : helpTopics())
      sameColour += (p.*(t.button)).backColour == b.backColour;
    EXPECT_EQ(sameColour, 1) << b.caption;
    const PictureArea& page = p.helppage;
    ASSERT_GT(page.ops.size(), 3u) << b.caption;
    for (const DrawOp& op : page.ops) {
      PictureArea probe("probe");
      probe.place = page.place;
      probe.fontSize = op.fontSize;
      EXPECT_LE(op.points[0].y + probe.textHeight(), page.ScaleHeight()) << op.text;
      EXPECT_LE(op.points[0].x + probe.textWidth(op.text), page.ScaleWidth()) << op.text;
    }
  };
  const auto& topics = helpTopics();
  for (std::size_t i = 0; i < topics.size(); ++i) {
    Button& b = p.*(topics[i].button);
    rig.host.afterPumps(int(2 * i + 2), [&b] { b.click(); });
    rig.host.afterPumps(int(2 * i + 3), [&b, &look] { look(b); });
  }
  rig.host.afterPumps(int(2 * topics.size() + 2), [this] { p.helpexit.click(); });
  p.helpbutton.click();
  EXPECT_EQ(titles, captions);
  EXPECT_FALSE(p.helpwindow.visible);
  EXPECT_TRUE(p.Timer2.enabled());
  EXPECT_EQ(s.HelpTopicShown, 0);
  // Between looks the panel sleeps 10 ms rather than spin, except where a topic is waiting.
  EXPECT_EQ(rig.host.sleeps, std::vector<int>(topics.size() + 1, 10));
}

// Every caption a page names in [brackets] is one a button shows: as started, during a
// run, or after the buttons that change their own faces were pressed.
TEST(HelpPages, EveryBracketedCaptionIsOneTheWindowShows) {
  testing::StartedScope st;
  std::set<std::string> captions;
  const auto collect = [&] {
    for (const Widget* w : st.p.controls)
      if (w->kind == Widget::Kind::Button) captions.insert(static_cast<const Button*>(w)->caption);
  };
  collect();
  st.rig.host.onPump = collect;
  st.p.GOBUTTON.click();
  for (Button* b : {&st.p.TRESETBUTTON, &st.p.Command2, &st.p.SCHAbutton}) {
    b->press();
    collect();
  }
  const std::regex bracketed(R"(\[([^\]]+)\])");
  int named = 0;
  for (const HelpPageFile& f : helpPageFiles()) {
    const std::string text(f.text);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), bracketed);
         it != std::sregex_iterator(); ++it, ++named)
      EXPECT_TRUE(captions.count((*it)[1].str())) << f.name << " names [" << (*it)[1] << "]";
  }
  EXPECT_GT(named, 30);
}

TEST(HelpPages, TextIsFilledToTheWidthWithListPointsOnLinesOfTheirOwn) {
  PictureArea area("a");
  area.place = {0, 0, 3000, 3000};
  area.fontSize = 10;  // 100 twips a character: 30 to a line
  const std::string body =
      "one two three four five six seven eight nine\nten\n\n# Head\n- a point that runs on "
      "over more than one line\n- b";
  EXPECT_EQ(wrapHelpText(area, body, 3000),
            (std::vector<std::string>{"one two three four five six", "seven eight nine ten", "",
                                      "# Head", "\u2022  a point that runs on over",
                                      "    more than one line", "\u2022  b"}));
}

}  // namespace
}  // namespace qvx
