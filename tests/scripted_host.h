#pragma once
#include <unistd.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/host.h"
#include "panel/panel.h"

namespace qvx::testing {

// A host for tests: a virtual clock that advances only by the program's own sleeps,
// actions (button presses) that run after a given number of event pumps or at a given
// virtual time, and scripted answers to message boxes.
class ScriptedHost : public Host {
 public:
  struct Message {
    std::string text, title;
    int style;
  };

  double clock = 0;
  // Where the clock started: the host's monotonic clock reads this plus `clock`, so a
  // test can start the machine long after boot while its own times stay small.
  std::int64_t originNanoseconds = 0;
  int pumps = 0;
  std::vector<int> sleeps;
  std::vector<Message> messages;
  std::deque<int> answers;  // answers to the next message boxes; OK when empty
  Panel* panel = nullptr;   // whose timers fire while events run

  // Runs `action` during the n-th event pump from now (n >= 1).
  void afterPumps(int n, std::function<void()> action) {
    actions_.push_back({pumps + n, -1, std::move(action)});
  }
  // Runs `action` during the first event pump at or after virtual time `t`.
  void atTime(double t, std::function<void()> action) {
    actions_.push_back({-1, t, std::move(action)});
  }
  // Called on every event pump, after the scheduled actions.
  std::function<void()> onPump;

  void DoEvents() override {
    ++pumps;
    for (std::size_t i = 0; i < actions_.size();) {
      const Action& a = actions_[i];
      bool due = (a.pump >= 0 && pumps >= a.pump) || (a.time >= 0 && clock + 1e-12 >= a.time);
      if (!due) {
        ++i;
        continue;
      }
      auto f = std::move(actions_[i].run);
      actions_.erase(actions_.begin() + static_cast<long>(i));
      f();
    }
    if (panel) fireDueTimers(panel->timers, clock);
    if (onPump) onPump();
  }
  void Sleep(int ms) override {
    sleeps.push_back(ms);
    clock += ms / 1000.0;
  }
  double Now() override { return static_cast<double>(originNanoseconds) * 1e-9 + clock; }
  std::int64_t NowNanoseconds() override { return originNanoseconds + std::llround(clock * 1e9); }
  double TimeOfDay() override { return 12 * 3600 + clock; }
  int MsgBox(const std::string& text, int style, const std::string& title) override {
    messages.push_back({text, title, style});
    if (answers.empty()) return mb::AnswerOK;
    int a = answers.front();
    answers.pop_front();
    return a;
  }
  bool FileExists(const std::string& path) override {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
  }
  // When set, deleting a file fails with this reason (as in a read-only folder).
  std::string refuseRemoval;
  bool RemoveFile(const std::string& path, std::string& why) override {
    if (refuseRemoval.empty()) return Host::RemoveFile(path, why);
    why = refuseRemoval;
    return false;
  }

  std::size_t pendingActions() const { return actions_.size(); }

 private:
  struct Action {
    int pump;
    double time;
    std::function<void()> run;
  };
  std::vector<Action> actions_;
};

// Runs a test in a fresh empty folder and returns to the previous one afterwards.
class TempFolder {
 public:
  TempFolder() : previous_(std::filesystem::current_path()) {
    path_ = std::filesystem::temp_directory_path() /
            ("qvx-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter()++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
    std::filesystem::current_path(path_);
  }
  ~TempFolder() {
    std::filesystem::current_path(previous_);
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  static int& counter() {
    static int n = 0;
    return n;
  }
  std::filesystem::path previous_, path_;
};

}  // namespace qvx::testing
