#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QPushButton>
#include <QRegularExpression>

#include "counter/counter.h"
#include "ui/qt_convert.h"
#include "ui/started_window.h"

namespace qvx::ui {
namespace {

using testing::clickLikeAUser;

// The program's window started and stepped to COUNTER mode with the mode button.
struct CounterWindow : testing::StartedWindow {
  CounterWindow() {
    for (int i = 0; i < 3; ++i) clickLikeAUser(window.widgetFor("SmodeUP"));
  }
  Scope& s = rig.scope;
  Panel& p = rig.scope.panel;

  // The pixel box of the inked part of a text drawn on a picture, as the skin paints it:
  // the blanks that pad the panel's texts may overlap.
  QRectF textBox(const PictureArea& pic, const DrawOp& op) const {
    QWidget* w = window.widgetFor(pic.name);
    const QFontMetricsF metrics(panelFont(op.fontSize, op.bold, window.pixelsPerTwip()));
    const double x = (op.points[0].x - pic.ScaleLeft) * w->width() / pic.ScaleWidth();
    const double y = (op.points[0].y - pic.ScaleTop) * w->height() / pic.ScaleHeight();
    const QString text = QString::fromStdString(op.text);
    const qsizetype lead = text.size() - QString(text).remove(QRegularExpression("^ +")).size();
    return {x + metrics.horizontalAdvance(text.left(lead)), y,
            metrics.horizontalAdvance(text.trimmed()), metrics.height()};
  }
};

TEST(CounterSkin, GoInCounterModeShowsTheReadingInTheReadout) {
  CounterWindow w;
  ASSERT_EQ(w.s.OperatingMode, 3);
  w.onPump = [&w] {
    if (w.s.RunFlag == 1 && w.s.FCntReadings >= 1) clickLikeAUser(w.window.widgetFor("GOBUTTON"));
  };
  const QImage before = w.window.widgetFor("Countdisp")->grab().toImage();
  clickLikeAUser(w.window.widgetFor("GOBUTTON"));
  w.window.sync();
  QCoreApplication::processEvents();
  EXPECT_EQ(w.p.Countdisp.texts(), "0000005000  ");
  EXPECT_NE(w.window.widgetFor("Countdisp")->grab().toImage(), before);
  EXPECT_EQ(static_cast<QPushButton*>(w.window.widgetFor("GOBUTTON"))->text(), "GO");
}

// Every caption the counter buttons take fits its button, the widest count fits the
// readout, and no two texts of the panel run into each other, in every face of the panel
// (the window-wide check sees only the face the panel starts with).
TEST(CounterSkin, CaptionsFitAndPanelTextsDoNotOverlap) {
  CounterWindow w;
  for (int size : {1000, 1600}) {
    w.window.resize(size, size * 8610 / 12050);
    QCoreApplication::processEvents();
    w.window.sync();
    for (auto [button, captions] :
         {std::pair{&w.p.FCntStSpbutton, std::vector<const char*>{"Rec", "ST/SP"}},
          {&w.p.FCntRepeatButton, {"Single", "Repeat"}},
          {&w.p.FCntResetbutton, {"Reset", "Start", "Stop"}}}) {
      QWidget* b = w.window.widgetFor(button->name);
      for (const char* caption : captions)
        EXPECT_LE(QFontMetricsF(b->font()).horizontalAdvance(caption), b->width() - 2)
            << caption << " at window width " << size;
    }
    w.s.FCntValue = 1073741823;
    showCount(w.s);
    const QRectF readout(QPointF(0, 0), w.window.widgetFor("Countdisp")->size());
    EXPECT_TRUE(readout.contains(w.textBox(w.p.Countdisp, w.p.Countdisp.ops.at(0))));

    auto noOverlap = [&](const std::string& face) {
      const auto& ops = w.p.Picture10.ops;
      const QRectF panel(QPointF(0, 0), w.window.widgetFor("Picture10")->size());
      for (std::size_t i = 0; i < ops.size(); ++i) {
        const QRectF a = w.textBox(w.p.Picture10, ops[i]);
        EXPECT_TRUE(panel.contains(a)) << face << ": " << ops[i].text;
        for (std::size_t j = i + 1; j < ops.size(); ++j)
          EXPECT_FALSE(a.intersects(w.textBox(w.p.Picture10, ops[j])))
              << face << ": '" << ops[i].text << "' and '" << ops[j].text << "'";
      }
    };
    w.s.FRecInterval = 9999;
    for (int source = 0; source < 4; ++source) {
      CountDisplay(w.s);
      noOverlap("frequency, source " + std::to_string(source));
      w.p.FCntSourcebutton.press();
    }
    w.p.FCntModebutton.press();
    for (int control = 0; control < 3; ++control) {
      noOverlap("counter, control " + std::to_string(control));
      w.p.FCntStSpbutton.press();
    }
    w.p.FCntModebutton.press();
  }
}

}  // namespace
}  // namespace qvx::ui
