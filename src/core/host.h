#pragma once
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

#include "core/file_lister.h"
#include "core/settings_store.h"

namespace qvx {

// Message-box styles and answers, with the window toolkit's values.
namespace mb {
constexpr int OK = 0;
constexpr int OKCancel = 1;
constexpr int Critical = 16;
constexpr int DefaultButton2 = 256;
constexpr int AnswerOK = 1;
constexpr int AnswerCancel = 2;
}  // namespace mb

// What the platform gives the core: letting events run, waiting, the clock, message
// boxes and file tests. The Qt host is the real one; tests use a scripted host with a
// virtual clock.
class Host {
 public:
  virtual ~Host() = default;

  // Lets the window process pending events (clicks, timers, repaints).
  virtual void DoEvents() = 0;
  // Blocks for `ms` milliseconds without processing events.
  virtual void Sleep(int ms) = 0;
  // Monotonic seconds; the simulated instrument's clock follows it.
  virtual double Now() = 0;
  // The same clock in whole nanoseconds, for the simulated instrument, whose sample
  // instants must stay exact however long the machine has been up.
  virtual std::int64_t NowNanoseconds() { return std::llround(Now() * 1e9); }
  // Seconds since midnight.
  virtual double TimeOfDay() = 0;
  // Shows a message box and returns the button pressed (mb::AnswerOK, mb::AnswerCancel).
  virtual int MsgBox(const std::string& text, int style, const std::string& title) = 0;
  // Whether a file exists; never fails.
  virtual bool FileExists(const std::string& path) = 0;
  // The machine's places, folders and files as the load and save panels list them.
  virtual FileLister& Files() { return systemFileLister(); }
  // Deletes a file. Returns false with `why` set when it could not be removed.
  virtual bool RemoveFile(const std::string& path, std::string& why) {
    std::error_code ec;
    if (std::filesystem::remove(path, ec) || !ec) return true;
    why = ec.message();
    return false;
  }
  // The extras' settings that outlive the program; kept in memory unless the host keeps
  // them somewhere lasting.
  virtual SettingsStore& Settings() { return memorySettings_; }

 private:
  MemorySettings memorySettings_;
};

}  // namespace qvx
