#include "core/console_host.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <thread>

#ifdef __linux__
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>
#endif

namespace qvx {

int defaultAnswer(int style) {
  const bool twoButtons = (style & 7) == mb::OKCancel;
  return twoButtons && (style & mb::DefaultButton2) ? mb::AnswerCancel : mb::AnswerOK;
}

ConsoleHost::~ConsoleHost() {
#ifdef __linux__
  if (notify_ >= 0) ::close(notify_);
#endif
}

void ConsoleHost::DoEvents() {
  if (source_) source_->processEvents();
  if (panel_) {
    fireDueTimers(panel_->timers, Now());
    closeWaitingPanels();
  }
  if (quitCheck_ && onQuit_ && quitCheck_()) onQuit_();
}

// A pop-up panel is open while its container is shown; its EXIT button is the one way
// out that every panel has. Pressing it is said once for each time the panel opens.
void ConsoleHost::closeWaitingPanels() {
  std::erase_if(pressed_, [](const Widget* w) { return !w->usable(); });
  for (Widget* w : panel_->controls) {
    if (w->kind != Widget::Kind::Button || !w->container || !w->usable()) continue;
    if (static_cast<Button*>(w)->caption != "EXIT") continue;
    if (std::find(pressed_.begin(), pressed_.end(), w) == pressed_.end()) {
      std::fprintf(stderr, "qvxscope: %s opened with no one at the panel; pressing its EXIT\n",
                   w->container->name.c_str());
      pressed_.push_back(w);
    }
    w->click();
  }
}

void ConsoleHost::Sleep(int ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

double ConsoleHost::Now() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

std::int64_t ConsoleHost::NowNanoseconds() {
  using namespace std::chrono;
  return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

double ConsoleHost::TimeOfDay() {
  const std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec;
}

int ConsoleHost::MsgBox(const std::string& text, int style, const std::string& title) {
  const int answer = defaultAnswer(style);
  std::fprintf(stderr, "qvxscope: [%s] %s (answered %s)\n", title.c_str(), text.c_str(),
               answer == mb::AnswerOK ? "OK" : "Cancel");
  return answer;
}

bool ConsoleHost::FileExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::exists(path, ec);
}

void ConsoleHost::watchFolder(const std::string& folder) {
#ifdef __linux__
  if (folder == watched_ && watch_ >= 0) return;
  if (notify_ < 0) notify_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (notify_ < 0) return;
  if (watch_ >= 0) inotify_rm_watch(notify_, watch_);
  watched_ = folder;
  watch_ = inotify_add_watch(notify_, folder.c_str(),
                             IN_CREATE | IN_MOVED_TO | IN_CLOSE_WRITE | IN_MODIFY | IN_ATTRIB);
#else
  (void)folder;
#endif
}

bool ConsoleHost::waitForChange(double seconds) {
#ifdef __linux__
  if (source_) {
    if (!source_->waitForEvents(notify_, seconds)) return false;
  } else {
    pollfd p{notify_, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(seconds * 1000)) <= 0) return false;
  }
  char events[4096];
  while (::read(notify_, events, sizeof events) > 0) {
  }
  return true;
#else
  (void)seconds;
  return false;
#endif
}

void ConsoleHost::waitIdle(double seconds) {
  if (source_)
    source_->waitForEvents(-1, seconds);
  else
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

double ConsoleHost::nextDue(double now) const {
  double due = now + 3600;
  for (const Timer* t : panel_->timers) {
    if (!t->enabled() || t->interval() <= 0) continue;
    // A restarted timer starts counting its interval when events next run: at once.
    due = std::min(due, t->restart ? now : t->startedAt + t->interval() / 1000.0);
  }
  return due;
}

void ConsoleHost::idle() {
  if (panel_) {
    const double now = Now();
    const double wait = nextDue(now) - now;
    const bool restarting = std::any_of(panel_->timers.begin(), panel_->timers.end(),
                                        [](const Timer* t) { return t->restart; });
    if (watch_ >= 0 && !restarting && wait < kIdleBeatMs / 1000.0) {
      // A change may come before the fast timer is due again; it then waits for it, so
      // the change is not left for the next beat.
      if (waitForChange(kIdleBeatMs / 1000.0)) {
        const double left = nextDue(Now()) - Now();
        if (left > 0) waitIdle(left);
      }
    } else if (wait > 0) {
      waitIdle(std::min(wait, 0.1));
    }
  }
  DoEvents();
}

}  // namespace qvx
