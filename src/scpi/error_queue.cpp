#include "scpi/error_queue.h"

namespace qvx::scpi {

const char* errorText(int code) {
  switch (code) {
    case 0:
      return "No error";
    case err::CommandError:
      return "Command error";
    case err::InvalidCharacter:
      return "Invalid character";
    case err::SyntaxError:
      return "Syntax error";
    case err::DataTypeError:
      return "Data type error";
    case err::ParameterNotAllowed:
      return "Parameter not allowed";
    case err::MissingParameter:
      return "Missing parameter";
    case err::UndefinedHeader:
      return "Undefined header";
    case err::HeaderSuffixOutOfRange:
      return "Header suffix out of range";
    case err::ExecutionError:
      return "Execution error";
    case err::SettingsConflict:
      return "Settings conflict";
    case err::DataOutOfRange:
      return "Data out of range";
    case err::TooMuchData:
      return "Too much data";
    case err::IllegalParameterValue:
      return "Illegal parameter value";
    case err::DataStale:
      return "Data corrupt or stale";
    case err::HardwareMissing:
      return "Hardware missing";
    case err::QueueOverflow:
      return "Queue overflow";
    default:
      return "Error";
  }
}

void ErrorQueue::push(int code, const std::string& detail) {
  if (entries_.size() >= kCapacity) {
    entries_.back() = {err::QueueOverflow, {}};
    return;
  }
  entries_.push_back({code, detail});
}

std::string ErrorQueue::pop() {
  if (entries_.empty()) return "0,\"No error\"";
  const Entry e = entries_.front();
  entries_.pop_front();
  std::string text = std::to_string(e.code);
  text += ",\"";
  text += errorText(e.code);
  if (!e.detail.empty()) text += "; ";
  // Quotes inside an SCPI string are doubled.
  for (char c : e.detail) {
    text += c;
    if (c == '"') text += c;
  }
  text += '"';
  return text;
}

}  // namespace qvx::scpi
