#include "scpi/session.h"

#include "scpi/call.h"
#include "scpi/commands.h"
#include "scpi/parser.h"

namespace qvx::scpi {

namespace {

int eventBitOf(int code) {
  if (code <= -100 && code > -200) return esr::CommandError;
  if (code <= -200 && code > -300) return esr::ExecutionError;
  if (code <= -300 && code > -400) return esr::DeviceError;
  if (code <= -400 && code > -500) return esr::QueryError;
  return 0;
}

}  // namespace

void Session::fail(int code, const std::string& detail) {
  errors.push(code, detail);
  eventStatus |= eventBitOf(code);
}

std::string Session::execute(Scope& s, std::string_view line) {
  const ParsedLine parsed = parseLine(line);
  std::string reply;
  bool answered = false;
  for (const Unit& unit : parsed.units) {
    std::vector<int> suffixes;
    const Command* command = findCommand(unit, suffixes);
    const Handler handler = !command ? nullptr : unit.query ? command->query : command->set;
    if (!handler) {
      fail(err::UndefinedHeader);
      continue;
    }
    Call call{s, *this, unit, std::move(suffixes), {}};
    try {
      handler(call);
    } catch (const Failure& f) {
      fail(f.code, f.detail);
      continue;
    }
    if (unit.query) {
      if (answered) reply += ';';
      reply += call.reply;
      answered = true;
    }
  }
  if (parsed.error != 0) fail(parsed.error, parsed.detail);
  if (answered) reply += '\n';
  return reply;
}

bool asksToStop(std::string_view line) {
  return asksToStop(parseLine(line));
}

bool asksToStop(const ParsedLine& line) {
  for (const Unit& unit : line.units) {
    if (unit.common || unit.query || unit.path.size() != 1) continue;
    if (mnemonicMatches("STOP", unit.path[0].name) || mnemonicMatches("ABORt", unit.path[0].name))
      return true;
  }
  return false;
}

bool instrumentReady(const Scope& s) {
  return !s.unloaded && s.RunFlag == 0 && s.panel.Timer2.enabled();
}

}  // namespace qvx::scpi
