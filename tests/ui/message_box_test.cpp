// Every way a person can close a message box ends it with the answer that way means, and
// the next box shows again, owned by the program's window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <string>

#include "ui/qt_host.h"

namespace qvx::ui {
namespace {

// The box that is up now, if any.
QMessageBox* shownBox() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) return box;
  return nullptr;
}

QPushButton* buttonOf(QMessageBox* box, QMessageBox::StandardButton which) {
  return static_cast<QPushButton*>(box->button(which));
}

void key(QObject* to, int k) {
  QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
  QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier);
  QApplication::sendEvent(to, &press);
  QApplication::sendEvent(to, &release);
}

struct Route {
  std::string name;
  int style;
  int answer;  // what the program is told
  std::function<void(QMessageBox*)> close;
};

// What was seen of a box while it was up.
struct Seen {
  bool shown = false;
  QWidget* owner = nullptr;
  bool modal = false;
};

// Asks a question and closes the box the given way once it is up; returns the answer.
int askAndClose(QtHost& host, const std::string& text, int style,
                const std::function<void(QMessageBox*)>& close, Seen& seen) {
  seen = {};
  // The box may take a turn of the event loop to show, so it is looked for a few times.
  auto tries = std::make_shared<int>(0);
  auto look = std::make_shared<std::function<void()>>();
  *look = [&, tries, look] {
    QMessageBox* box = shownBox();
    if (box && box->text().toStdString() == text) {
      seen = {true, box->parentWidget(), box->isModal()};
      close(box);
    } else if (++*tries < 50) {
      QTimer::singleShot(10, *look);
    } else if (QWidget* modal = QApplication::activeModalWidget()) {
      modal->close();  // never shown as asked: end it so the test reports rather than hangs
    }
  };
  QTimer::singleShot(0, *look);
  return host.MsgBox(text, style, "Test");
}

TEST(MessageBoxes, EveryWayOfClosingEndsTheBoxAndTheNextOneShows) {
  const Route routes[] = {
      {"OK button", mb::OKCancel, mb::AnswerOK,
       [](QMessageBox* b) { buttonOf(b, QMessageBox::Ok)->click(); }},
      {"Cancel button", mb::OKCancel, mb::AnswerCancel,
       [](QMessageBox* b) { buttonOf(b, QMessageBox::Cancel)->click(); }},
      {"Escape on a question", mb::OKCancel, mb::AnswerCancel,
       [](QMessageBox* b) { key(b, Qt::Key_Escape); }},
      {"Escape on a message", mb::OK, mb::AnswerOK, [](QMessageBox* b) { key(b, Qt::Key_Escape); }},
      {"Return", mb::OKCancel, mb::AnswerOK, [](QMessageBox* b) { key(b, Qt::Key_Return); }},
      {"Return with Cancel the default", mb::OKCancel | mb::DefaultButton2, mb::AnswerCancel,
       [](QMessageBox* b) { key(b, Qt::Key_Return); }},
      {"window closed", mb::OKCancel, mb::AnswerCancel, [](QMessageBox* b) { b->close(); }},
      {"close event to the window", mb::OK, mb::AnswerOK,
       [](QMessageBox* b) {
         QCloseEvent e;
         QApplication::sendEvent(b->windowHandle(), &e);
       }},
      {"Escape to the box's window", mb::OKCancel, mb::AnswerCancel,
       [](QMessageBox* b) { key(b->windowHandle(), Qt::Key_Escape); }},
      {"Return to the box's window", mb::OK, mb::AnswerOK,
       [](QMessageBox* b) { key(b->windowHandle(), Qt::Key_Return); }},
      {"a letter to the box's window", mb::OK, mb::AnswerOK,
       [](QMessageBox* b) {
         key(b->windowHandle(), Qt::Key_X);
         buttonOf(b, QMessageBox::Ok)->click();
       }},
  };
  QWidget window;
  window.resize(400, 300);
  window.show();
  window.activateWindow();
  QApplication::processEvents();
  QtHost host;
  host.setOwner(&window);
  auto ok = [](QMessageBox* b) { buttonOf(b, QMessageBox::Ok)->click(); };
  for (const Route& r : routes) {
    SCOPED_TRACE(r.name);
    Seen first, next;
    EXPECT_EQ(askAndClose(host, "Closed by " + r.name + "?", r.style, r.close, first), r.answer);
    EXPECT_TRUE(first.shown && first.modal);
    EXPECT_EQ(first.owner, &window);
    EXPECT_EQ(shownBox(), nullptr) << "the box is gone";
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), &window) << "keys reach the window again";
    EXPECT_EQ(askAndClose(host, "EXIT Scope Program ?", mb::OKCancel, ok, next), mb::AnswerOK);
    EXPECT_TRUE(next.shown && next.modal) << "the next box shows";
    EXPECT_EQ(next.owner, &window) << "in front of the program's window, whatever had the focus";
  }
}

}  // namespace
}  // namespace qvx::ui
