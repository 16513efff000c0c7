#include <gtest/gtest.h>

#include <QKeyEvent>
#include <map>
#include <string>
#include <vector>

#include "ui/started_window.h"

namespace qvx::ui {
namespace {

using testing::StartedWindow;

void type(QWidget* w, Qt::Key key, const QString& text = {}) {
  QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(w, &e);
}

TEST(KeyboardInTheWindow, ShortcutsTakeTheKeyOnceWhereverTheFocusIs) {
  StartedWindow w;
  Scope& s = w.rig.scope;
  const int rate = s.SampleRateIndex;
  // A key on a focused step button would also step it through the button's own key
  // handler; the shortcut takes it first, so one press is one step.
  type(w.window.widgetFor("SRATEP"), Qt::Key_BracketRight, "]");
  EXPECT_EQ(s.SampleRateIndex, rate + 1);
  type(w.window.widgetFor("Command13"), Qt::Key_BracketLeft, "[");
  EXPECT_EQ(s.SampleRateIndex, rate);
  // A key that is no shortcut still reaches the control's own handler.
  type(w.window.widgetFor("SRATEN"), Qt::Key_Q, "q");
  EXPECT_EQ(s.SampleRateIndex, rate - 1);
  type(w.window.widgetFor("GOBUTTON"), Qt::Key_X, "x");
  EXPECT_TRUE(s.panel.ExtrasBox.visible);
  EXPECT_TRUE(w.window.widgetFor("ExtrasBox")->isVisible());
  type(w.window.widgetFor("GOBUTTON"), Qt::Key_PageDown);
  EXPECT_EQ(s.OperatingMode, 4);
}

TEST(KeyboardInTheWindow, TooltipsAndTabOrderComeFromTheModel) {
  StartedWindow w;
  const Panel& p = w.rig.scope.panel;
  EXPECT_EQ(w.window.widgetFor("GOBUTTON")->toolTip().toStdString(), p.GOBUTTON.toolTip);
  EXPECT_EQ(w.window.widgetFor("SSIZEP")->toolTip().toStdString(), "Larger buffer (})");
  ASSERT_GT(p.tabOrder.size(), 40u);
  // Tab follows the focus chain: the model's controls come in it in the model's order.
  std::map<QWidget*, std::string> named;
  for (const std::string& name : p.tabOrder) named[w.window.widgetFor(name)] = name;
  std::vector<std::string> chain;
  QWidget* first = w.window.widgetFor(p.tabOrder.front());
  for (QWidget* q = first; chain.size() < p.tabOrder.size();) {
    if (auto it = named.find(q); it != named.end()) chain.push_back(it->second);
    q = q->nextInFocusChain();
    if (q == first) break;
  }
  EXPECT_EQ(chain, p.tabOrder);
}

}  // namespace
}  // namespace qvx::ui
