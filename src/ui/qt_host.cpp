#include "ui/qt_host.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <QTime>
#include <chrono>
#include <filesystem>

namespace qvx::ui {

QtHost::QtHost() {
  idle_.setInterval(50);
  connect(&idle_, &QTimer::timeout, this, &QtHost::tick);
  idle_.start();
  // The poll's own 1 ms interval may not have run out when the change arrives.
  folder_.addPath(QDir::currentPath());
  connect(&folder_, &QFileSystemWatcher::directoryChanged, this,
          [this] { QTimer::singleShot(2, Qt::PreciseTimer, this, &QtHost::tick); });
}

void QtHost::tick() {
  if (panel_) fireDueTimers(panel_->timers, Now());
  if (sync_) sync_();
  if (quitCheck_ && onQuit_ && quitCheck_()) onQuit_();
}

void QtHost::DoEvents() {
  ++depth_;
  if (sync_) sync_();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  if (panel_) fireDueTimers(panel_->timers, Now());
  if (sync_) sync_();
  --depth_;
  if (quitCheck_ && onQuit_ && quitCheck_()) onQuit_();
}

void QtHost::Sleep(int ms) {
  if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
}

double QtHost::Now() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

std::int64_t QtHost::NowNanoseconds() {
  using namespace std::chrono;
  return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

double QtHost::TimeOfDay() {
  return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

// The box belongs to the program's window, not to whichever window had the focus last:
// once a box closed without the focus going back (a key sent straight to its window),
// there was no active window, and later boxes opened without an owner, where the window
// manager could leave them behind the program. Closing the box by any route ends it; the
// focus then returns to the program's window so its keys work again.
int QtHost::MsgBox(const std::string& text, int style, const std::string& title) {
  if (sync_) sync_();
  QWidget* owner = owner_ ? owner_.data() : QApplication::activeWindow();
  QMessageBox box(owner);
  box.setWindowModality(Qt::ApplicationModal);
  box.setWindowTitle(QString::fromStdString(title));
  box.setText(QString::fromStdString(text));
  box.setIcon((style & mb::Critical) ? QMessageBox::Critical : QMessageBox::NoIcon);
  QPushButton* ok = box.addButton(QMessageBox::Ok);
  QPushButton* cancel = (style & mb::OKCancel) ? box.addButton(QMessageBox::Cancel) : nullptr;
  box.setDefaultButton((style & mb::DefaultButton2) && cancel ? cancel : ok);
  box.setEscapeButton(cancel ? cancel : ok);
  box.show();
  box.raise();
  box.activateWindow();
  box.exec();
  if (owner_ && owner_->isVisible()) owner_->activateWindow();
  return cancel && box.clickedButton() == cancel ? mb::AnswerCancel : mb::AnswerOK;
}

bool QtHost::FileExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::exists(path, ec);
}

}  // namespace qvx::ui
