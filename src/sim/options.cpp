#include "sim/options.h"

#include <stdexcept>

namespace qvx::sim {

namespace {
SimOption flag(std::string name, std::string help, std::function<void(Config&)> set) {
  return {std::move(name), "", std::move(help),
          [set = std::move(set)](Config& c, const std::string&) { set(c); }};
}

SimOption valued(std::string name, std::string valueName, std::string help,
                 std::function<void(Config&, const std::string&)> apply) {
  return {std::move(name), std::move(valueName), std::move(help), std::move(apply)};
}
}  // namespace

const std::vector<SimOption>& simOptions() {
  static const std::vector<SimOption> options = {
      valued("sim-model", "20|30", "simulated instrument: 20 MS/s (default) or 30 MS/s model",
             [](Config& c, const std::string& v) {
               if (v != "20" && v != "30")
                 throw std::invalid_argument("--sim-model takes 20 or 30 (MS/s), not '" + v + "'");
               c.modelCode = v == "20" ? 1 : 2;
             }),
      valued("sim-lpt", "N", "printer port 1, 2 or 3 the simulated instrument is plugged into (1)",
             [](Config& c, const std::string& v) {
               if (v != "1" && v != "2" && v != "3")
                 throw std::invalid_argument("--sim-lpt takes 1, 2 or 3, not '" + v + "'");
               c.lpt = v[0] - '0';
             }),
      flag("sim-unplugged", "nothing on the port", [](Config& c) { c.plugged = false; }),
      flag("sim-unpowered", "instrument attached but without power",
           [](Config& c) { c.powered = false; }),
      flag("sim-no-generator", "instrument without the generator option",
           [](Config& c) { c.generator = false; }),
      flag("sim-no-channel-b", "instrument without channel B",
           [](Config& c) { c.channelB = false; }),
      valued("sim-a", "WAVE",
             "signal at input A (default sine:1000:4:0), WAVE being "
             "sine|square|triangle|noise:Hz:peak V:offset V or dc:V, or gen (the generator's "
             "output), gen-rc:OHMS:FARADS or gen-hp:OHMS:FARADS (the output through an RC low-pass "
             "or high-pass) or gen-rlc:OHMS:HENRYS:FARADS (through a series RLC, taken across "
             "the capacitor)",
             [](Config& c, const std::string& v) { c.inputs.a = parseAnalog(v, "--sim-a"); }),
      valued("sim-b", "WAVE", "signal at input B (default triangle:2500:3:0)",
             [](Config& c, const std::string& v) { c.inputs.b = parseAnalog(v, "--sim-b"); }),
      valued("sim-c", "LOGIC",
             "signal at input C (default clock:5000:50), LOGIC being clock:Hz:duty % or low "
             "or high",
             [](Config& c, const std::string& v) { c.inputs.c = parseDigital(v, "--sim-c"); }),
      valued("sim-d", "LOGIC", "signal at input D (default clock:2000:50)",
             [](Config& c, const std::string& v) { c.inputs.d = parseDigital(v, "--sim-d"); }),
  };
  return options;
}

bool parseOption(const std::string& arg, Config& config) {
  if (arg.rfind("--", 0) != 0) return false;
  const std::size_t eq = arg.find('=');
  const std::string name = arg.substr(2, eq == std::string::npos ? std::string::npos : eq - 2);
  for (const SimOption& option : simOptions()) {
    if (option.name != name) continue;
    if (option.valueName.empty() != (eq == std::string::npos))
      throw std::invalid_argument(option.valueName.empty() ? "--" + name + " takes no value"
                                                           : "--" + name + " needs a value");
    option.apply(config, eq == std::string::npos ? std::string() : arg.substr(eq + 1));
    return true;
  }
  return false;
}

}  // namespace qvx::sim
