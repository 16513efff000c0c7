#pragma once
#include <QFileSystemWatcher>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>

#include "core/host.h"
#include "panel/panel.h"
#include "ui/qt_file_lister.h"
#include "ui/qt_settings.h"

namespace qvx::ui {

// The real platform: Qt's event loop, the steady clock, message boxes and the file
// system. While the program is idle a Qt timer fires the panel's timers every 50 ms, and
// at once when something changes in the current folder, where the command file appears;
// so the file is still seen within a few milliseconds while an idle window hardly wakes.
// Inside long operations DoEvents fires them.
class QtHost : public QObject, public Host {
  Q_OBJECT
 public:
  QtHost();
  // The panel whose timers the host fires.
  void attach(Panel& panel) { panel_ = &panel; }
  // The program's window: message boxes stand in front of it and give the focus back.
  void setOwner(QWidget* window) { owner_ = window; }

  // Called before and after events are processed so the window shows the model.
  void setSync(std::function<void()> sync) { sync_ = std::move(sync); }
  // Checked after events are processed; when it returns true the host calls `onQuit`.
  void setQuitCheck(std::function<bool()> check, std::function<void()> onQuit) {
    quitCheck_ = std::move(check);
    onQuit_ = std::move(onQuit);
  }
  // How many DoEvents calls are running (0 while the window is idle in its main loop).
  int depth() const { return depth_; }

  void DoEvents() override;
  void Sleep(int ms) override;
  double Now() override;
  std::int64_t NowNanoseconds() override;
  double TimeOfDay() override;
  int MsgBox(const std::string& text, int style, const std::string& title) override;
  bool FileExists(const std::string& path) override;
  FileLister& Files() override { return files_; }
  SettingsStore& Settings() override { return settings_; }

  // Fires the panel's due timers, syncs the window and checks for quitting.
  void tick();

 private:
  Panel* panel_ = nullptr;
  QPointer<QWidget> owner_;
  QtFileLister files_;
  QtSettings settings_;
  QTimer idle_;
  QFileSystemWatcher folder_;
  std::function<void()> sync_;
  std::function<bool()> quitCheck_;
  std::function<void()> onQuit_;
  int depth_ = 0;
};

}  // namespace qvx::ui
