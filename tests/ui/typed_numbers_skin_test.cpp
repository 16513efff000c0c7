// A typed number in the real window: the field opens over the readout holding its value
// selected, takes the keys typed into it, and Enter, Escape and a click elsewhere reach
// the model; the screen shows the model after each.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLineEdit>

#include "ui/skin_widgets.h"
#include "ui/started_window.h"

namespace qvx::ui {
namespace {

using testing::StartedWindow;

void key(QWidget* w, Qt::Key k, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, text);
  QApplication::sendEvent(w, &press);
}

void typeText(QWidget* w, const QString& text) {
  for (QChar c : text) key(w, Qt::Key(c.toUpper().unicode()), QString(c));
}

struct TypedInTheWindow : ::testing::Test {
  StartedWindow w;
  Scope& s = w.rig.scope;
  Panel& p = s.panel;
  QLineEdit* field = qobject_cast<QLineEdit*>(w.window.widgetFor("TypedValue"));
  QWidget* readout = w.window.widgetFor("GENFREQDISP");

  void SetUp() override {
    w.window.activateWindow();
    p.SmodeUP.click();  // GENERATOR
    w.window.sync();
    QCoreApplication::processEvents();
  }
  QRect inWindow(QWidget* q) const { return QRect(q->mapTo(&w.window, QPoint()), q->size()); }
  // The readout's picture is its model's drawing.
  bool readoutShowsTheModel() const {
    SkinPicture* skin = w.window.pictureFor("GENFREQDISP");
    return skin->freshImage(w.window.pixelsPerTwip()) == skin->image();
  }
};

TEST_F(TypedInTheWindow, ClickTypeAndEnterSetTheFrequency) {
  ASSERT_NE(field, nullptr);
  EXPECT_FALSE(field->isVisible());
  testing::clickLikeAUser(readout);
  ASSERT_TRUE(field->isVisible());
  EXPECT_EQ(field->text(), "50000");
  EXPECT_EQ(field->selectedText(), "50000");
  EXPECT_EQ(QApplication::focusWidget(), field);
  // Over the readout, to the pixel its own place rounds to.
  const QRect over = inWindow(field), under = inWindow(readout);
  EXPECT_LE(std::abs(over.left() - under.left()) + std::abs(over.top() - under.top()), 2);
  EXPECT_LE(std::abs(over.width() - under.width()) + std::abs(over.height() - under.height()), 2);

  typeText(field, "2.5k");  // the selection goes, as the user expects
  EXPECT_EQ(p.TypedValue.text, "2.5k");
  EXPECT_EQ(s.GenFreq, 50000);  // nothing yet
  key(field, Qt::Key_Return, "\r");
  EXPECT_EQ(s.GenFreq, 2500);
  EXPECT_FALSE(field->isVisible());
  EXPECT_EQ(p.GENFREQDISP.texts(), " 2500");
  EXPECT_TRUE(readoutShowsTheModel());
}

TEST_F(TypedInTheWindow, EscapeAndAClickElsewhereChangeNothing) {
  readout->setFocus();
  key(readout, Qt::Key_Return, "\r");  // Enter on the focused readout opens it
  ASSERT_TRUE(field->isVisible());
  typeText(field, "77");
  key(field, Qt::Key_Escape);
  EXPECT_FALSE(field->isVisible());
  EXPECT_EQ(s.GenFreq, 50000);
  EXPECT_EQ(QApplication::focusWidget(), readout);

  testing::clickLikeAUser(readout);
  ASSERT_TRUE(field->isVisible());
  typeText(field, "77");
  QWidget* amp = w.window.widgetFor("GENAMPBUTTON");
  amp->setFocus();  // the focus leaves the field
  EXPECT_FALSE(field->isVisible());
  EXPECT_FALSE(p.TypedValue.visible);
  EXPECT_EQ(s.GenFreq, 50000);
  EXPECT_EQ(QApplication::focusWidget(), amp);
  EXPECT_TRUE(readoutShowsTheModel());
}

TEST_F(TypedInTheWindow, RefusedTextShowsItsReasonAndKeepsTheFieldOpen) {
  testing::clickLikeAUser(readout);
  typeText(field, "5 apples");
  key(field, Qt::Key_Return, "\r");
  EXPECT_TRUE(field->isVisible());
  EXPECT_EQ(s.GenFreq, 50000);
  QWidget* line = w.window.widgetFor("StatusLine");
  EXPECT_TRUE(line->isVisible());
  SkinPicture* skin = w.window.pictureFor("StatusLine");
  EXPECT_EQ(skin->freshImage(w.window.pixelsPerTwip()), skin->image());
  EXPECT_EQ(p.StatusLine.texts(), " \"5 apples\" is not a number in Hz");
  // Shortcuts stay out of the typing: "g" went into the field, not to GO.
  typeText(field, "g");
  EXPECT_EQ(s.RunFlag, 0);
  EXPECT_EQ(field->text(), "5 applesg");
  key(field, Qt::Key_Escape);
  EXPECT_FALSE(line->isVisible());
}

}  // namespace
}  // namespace qvx::ui
