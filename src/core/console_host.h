#pragma once
#include <functional>
#include <string>
#include <vector>

#include "core/host.h"
#include "panel/panel.h"

namespace qvx {

// Events from outside the panel that run with the panel's (the SCPI server's sockets, on
// a toolkit the console host does not know).
class EventSource {
 public:
  virtual ~EventSource() = default;
  // Runs the events that are pending, without waiting.
  virtual void processEvents() = 0;
  // Waits until an event has run, `fd` (if not negative) can be read, or `seconds` have
  // passed. Returns true when `fd` can be read.
  virtual bool waitForEvents(int fd, double seconds) = 0;
};

// The host of the program without a window (qvxscope --headless): the panel's timers run
// on the steady clock, message boxes are written to stderr and take their default
// answer, and a pop-up panel that waits for its EXIT button gets it pressed, since no one
// is there to press it.
class ConsoleHost : public Host {
 public:
  // The panel whose timers the host fires and whose pop-up panels it closes.
  void attach(Panel& panel) { panel_ = &panel; }
  // Checked whenever events run; when it returns true the host calls `onQuit`, which is
  // expected not to return (the program ends from inside whatever operation runs).
  void setQuitCheck(std::function<bool()> check, std::function<void()> onQuit) {
    quitCheck_ = std::move(check);
    onQuit_ = std::move(onQuit);
  }

  void DoEvents() override;
  void Sleep(int ms) override;
  double Now() override;
  std::int64_t NowNanoseconds() override;
  double TimeOfDay() override;
  int MsgBox(const std::string& text, int style, const std::string& title) override;
  bool FileExists(const std::string& path) override;

  // Events of another source that run with the panel's and wake the idle program.
  void setEventSource(EventSource* source) { source_ = source; }

  // The folder whose changes wake the idle program: where the command file appears.
  void watchFolder(const std::string& folder);

  // The idle program: sleeps until the next panel timer is due, then lets events run.
  // While a folder is watched, timers faster than `kIdleBeatMs` (the command-file poll)
  // wait for a change in that folder or for the beat, whichever comes first, so the file
  // is still seen within a millisecond or two but an idle program hardly wakes.
  void idle();
  static constexpr int kIdleBeatMs = 50;

  ConsoleHost() = default;
  ~ConsoleHost() override;
  ConsoleHost(const ConsoleHost&) = delete;
  ConsoleHost& operator=(const ConsoleHost&) = delete;

 private:
  void closeWaitingPanels();
  double nextDue(double now) const;
  // Waits up to `seconds` for a change in the watched folder; false when there is none.
  bool waitForChange(double seconds);

  // Waits up to `seconds` for the events of the source, if there is one, or just sleeps.
  void waitIdle(double seconds);

  Panel* panel_ = nullptr;
  EventSource* source_ = nullptr;
  std::function<bool()> quitCheck_;
  std::function<void()> onQuit_;
  std::vector<const Widget*> pressed_;
  int notify_ = -1, watch_ = -1;
  std::string watched_;
};

// The default answer of a message box of `style`: Cancel when the second button is the
// default and there is one, otherwise OK.
int defaultAnswer(int style);

}  // namespace qvx
