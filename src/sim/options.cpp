#include "sim/options.h"

#include <stdexcept>

namespace qvx::sim {

namespace {
// --sim-a=... to --sim-d=...: the signal at one input socket.
bool signalOption(const std::string& arg, Inputs& inputs) {
  if (arg.size() < 9 || arg.rfind("--sim-", 0) != 0 || arg[7] != '=') return false;
  const std::string option = arg.substr(0, 7), text = arg.substr(8);
  switch (arg[6]) {
    case 'a':
      inputs.a = parseAnalog(text, option);
      return true;
    case 'b':
      inputs.b = parseAnalog(text, option);
      return true;
    case 'c':
      inputs.c = parseDigital(text, option);
      return true;
    case 'd':
      inputs.d = parseDigital(text, option);
      return true;
    default:
      return false;
  }
}
}  // namespace

bool parseOption(const std::string& arg, Config& config) {
  if (arg == "--sim-model=20") {
    config.modelCode = 1;
  } else if (arg == "--sim-model=30") {
    config.modelCode = 2;
  } else if (arg.rfind("--sim-model", 0) == 0) {
    throw std::invalid_argument("--sim-model takes 20 or 30 (MS/s), not '" + arg + "'");
  } else if (arg == "--sim-unplugged") {
    config.plugged = false;
  } else if (arg == "--sim-unpowered") {
    config.powered = false;
  } else if (arg == "--sim-no-generator") {
    config.generator = false;
  } else if (arg == "--sim-no-channel-b") {
    config.channelB = false;
  } else if (signalOption(arg, config.inputs)) {
    return true;
  } else if (arg.rfind("--sim-lpt=", 0) == 0) {
    std::string n = arg.substr(10);
    if (n != "1" && n != "2" && n != "3")
      throw std::invalid_argument("--sim-lpt takes 1, 2 or 3, not '" + n + "'");
    config.lpt = n[0] - '0';
  } else {
    return false;
  }
  return true;
}

std::string optionsHelp() {
  return "  --sim-model=20|30      simulated instrument: 20 MS/s (default) or 30 MS/s model\n"
         "  --sim-lpt=N            printer port the simulated instrument is plugged into (1)\n"
         "  --sim-unplugged        nothing on the port\n"
         "  --sim-unpowered        instrument attached but without power\n"
         "  --sim-no-generator     instrument without the generator option\n"
         "  --sim-no-channel-b     instrument without channel B\n"
         "  --sim-a=WAVE           signal at input A (default sine:1000:4:0), WAVE being\n"
         "                         sine|square|triangle|noise:Hz:peak V:offset V or dc:V\n"
         "                         or gen (the generator's output) or gen-rc:OHMS:FARADS (the\n"
         "                         output through an RC low-pass)\n"
         "  --sim-b=WAVE           signal at input B (default triangle:2500:3:0)\n"
         "  --sim-c=LOGIC          signal at input C (default clock:5000:50), LOGIC being\n"
         "                         clock:Hz:duty % or low or high\n"
         "  --sim-d=LOGIC          signal at input D (default clock:2000:50)\n";
}

}  // namespace qvx::sim
