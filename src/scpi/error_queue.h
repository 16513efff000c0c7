#pragma once
#include <deque>
#include <string>

namespace qvx::scpi {

// The standard error and event numbers this server reports.
namespace err {
constexpr int CommandError = -100;
constexpr int InvalidCharacter = -101;
constexpr int SyntaxError = -102;
constexpr int DataTypeError = -104;
constexpr int ParameterNotAllowed = -108;
constexpr int MissingParameter = -109;
constexpr int UndefinedHeader = -113;
constexpr int HeaderSuffixOutOfRange = -114;
constexpr int ExecutionError = -200;
constexpr int SettingsConflict = -221;
constexpr int DataOutOfRange = -222;
constexpr int TooMuchData = -223;
constexpr int IllegalParameterValue = -224;
constexpr int DataStale = -230;
constexpr int HardwareMissing = -241;
constexpr int QueueOverflow = -350;
}  // namespace err

// The standard text of an error number ("Undefined header").
const char* errorText(int code);

// The error queue of one client: first in, first out, at most kCapacity entries. When it
// is full, the newest entry is replaced by -350 "Queue overflow", so the oldest errors,
// usually the cause of the rest, are kept.
class ErrorQueue {
 public:
  static constexpr std::size_t kCapacity = 20;

  void push(int code, const std::string& detail = {});
  // The oldest entry as SYSTem:ERRor? answers it, `0,"No error"` when empty.
  std::string pop();
  bool empty() const { return entries_.empty(); }
  std::size_t size() const { return entries_.size(); }
  void clear() { entries_.clear(); }

 private:
  struct Entry {
    int code;
    std::string detail;
  };
  std::deque<Entry> entries_;
};

}  // namespace qvx::scpi
