#pragma once
#include <string>
#include <string_view>

#include "core/scope.h"
#include "scpi/error_queue.h"
#include "scpi/parser.h"

namespace qvx::scpi {

// Longest line a client may send; a longer one is refused whole with -223.
constexpr std::size_t kMaxLine = 64 * 1024;

// Bits of the standard event status register.
namespace esr {
constexpr int OperationComplete = 1;
constexpr int QueryError = 4;
constexpr int DeviceError = 8;
constexpr int ExecutionError = 16;
constexpr int CommandError = 32;
}  // namespace esr

// What one client of the server has: its error queue, its event status and enable
// registers and its waveform settings. The instrument itself is shared by all clients.
class Session {
 public:
  // Runs one line (without its line end) and returns the reply, ended by a line feed, or
  // nothing when the line held no query. Every unit runs in turn; a unit that does not
  // parse ends the line there with its error.
  std::string execute(Scope& s, std::string_view line);

  // Notes an error in the queue and in the event status register.
  void fail(int code, const std::string& detail = {});

  ErrorQueue errors;
  int eventStatus = 0;           // *ESR?
  int eventStatusEnable = 0;     // *ESE
  int serviceRequestEnable = 0;  // *SRE
  int waveformSource = 0;        // 0 A .. 3 D
  bool waveformWord = false;     // WORD (two bytes a point) or ASCii
};

// Whether a line asks to stop the run in progress (:STOP or :ABORt among its units). Such
// a line is seen as it arrives, so it ends a capture still waiting for its trigger; it is
// then run in its turn like every other line.
bool asksToStop(std::string_view line);
bool asksToStop(const ParsedLine& line);

// Whether the instrument can take a command now: no run, print or file panel in progress
// (the same condition that lets the command file be polled).
bool instrumentReady(const Scope& s);

}  // namespace qvx::scpi
