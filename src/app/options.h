#pragma once
#include <QCommandLineOption>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "bode/response.h"
#include "sim/instrument.h"

namespace qvx::app {

// What the command line asks for.
struct Options {
  enum class Port { Sim, Direct, Ppdev };
  Port port = Port::Sim;
  std::string ppdevDevice;        // --port=ppdev:NODE; empty: LPT n is /dev/parport(n-1)
  sim::Config sim;                // the simulated instrument, when the port is simulated
  std::string screenshot;         // save the window to this PNG after start-up, then exit
  bool go = false;                // press GO once after start-up
  int mode = 0;                   // operating mode to step to after start-up (0 SCOPE .. 4 FFT)
  bool headless = false;          // no window and no display: the core on the console host
  std::string printTo;            // every print goes to this PDF file instead of the printer
  std::string folder;             // the folder to work in; empty: the current folder
  std::vector<std::string> show;  // extra panels to open after start-up (--show)
  // --scpi: serve SCPI commands on this address and TCP port (0: any free port, which the
  // program names on stderr).
  bool scpi = false;
  std::string scpiAddress = "127.0.0.1";
  int scpiPort = 5025;
  bool help = false;
  bool version = false;
  bool man = false;                // print the manual page (roff) and exit
  std::optional<bode::Plan> bode;  // --headless: run this frequency response measurement
  std::string bodeCsv;             // ... and write it to this CSV file
  std::vector<std::string> files;  // .qvx, .fft or .dpf files to load after start-up
};

// One option of the program: Qt's description of it (names, help line, value name) and
// how its value goes into Options. `apply` throws std::invalid_argument, with a message
// naming the option, for a value it cannot take. Adding an option is adding one entry to
// programOptions() in options.cpp.
struct OptionEntry {
  QCommandLineOption option;
  std::function<void(Options&, const std::string& value)> apply;
};

// The extra panels --show can open, by name.
const std::vector<std::string>& extraPanelNames();

// Every option, in the order --help and the manual page list them: the program's own, then
// the simulated instrument's (sim/options.h). Options flagged HiddenFromHelp (--man, which
// the package build uses) appear in neither.
std::vector<OptionEntry> programOptions();

// Reads the arguments after the program name with QCommandLineParser. Returns false with
// `error` set, naming the option, for an unknown or malformed one.
bool parseOptions(const std::vector<std::string>& args, Options& options, std::string& error);

// Whether --help and the manual page leave the option out.
bool hiddenFromHelp(const OptionEntry& entry);

// The text of --help, and of --version.
std::string usage(const std::string& program);
std::string versionText(const std::string& program);

}  // namespace qvx::app
