#include "app/options.h"

#include <stdexcept>

#include "sim/options.h"

namespace qvx::app {

bool parseOptions(const std::vector<std::string>& args, Options& options, std::string& error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      options.help = true;
    } else if (a == "--port=sim") {
      options.port = Options::Port::Sim;
    } else if (a == "--port=direct") {
      options.port = Options::Port::Direct;
    } else if (a.rfind("--port", 0) == 0) {
      error = "--port takes sim or direct, not '" + a + "'";
      return false;
    } else if (a == "--go") {
      options.go = true;
    } else if (a == "--headless") {
      options.headless = true;
    } else if (a.rfind("--print-to=", 0) == 0 && a.size() > 11) {
      options.printTo = a.substr(11);
    } else if (a == "--screenshot") {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        error = "--screenshot needs a file name";
        return false;
      }
      options.screenshot = args[++i];
    } else if (a.rfind("--screenshot=", 0) == 0) {
      options.screenshot = a.substr(13);
      if (options.screenshot.empty()) {
        error = "--screenshot needs a file name";
        return false;
      }
    } else {
      try {
        if (sim::parseOption(a, options.sim)) continue;
      } catch (const std::invalid_argument& e) {
        error = e.what();
        return false;
      }
      error = "unknown option '" + a + "' (try --help)";
      return false;
    }
  }
  if (options.headless && !options.screenshot.empty()) {
    error = "--screenshot needs the window; it cannot be used with --headless";
    return false;
  }
  return true;
}

std::string usage(const std::string& program) {
  return "Usage: " + program +
         " [options]\n"
         "QVX Scope: storage scope, spectrum analyser, generator and counter on the printer "
         "port.\n\n"
         "  --port=sim|direct      talk to the simulated instrument (default) or to the real\n"
         "                         printer port (needs port access)\n"
         "  --screenshot FILE.png  save the main window after start-up and exit\n"
         "  --go                   press GO once after start-up (with --screenshot: wait for\n"
         "                         the run to end before saving)\n"
         "  --headless             run with no window and no display, driven by the command\n"
         "                         file QVXcom.txt (stop with Ctrl-C)\n"
         "  --print-to=FILE.pdf    send every print to this PDF file instead of the printer\n"
         "  --help                 show this text\n\n"
         "Simulated instrument:\n" +
         sim::optionsHelp();
}

}  // namespace qvx::app
