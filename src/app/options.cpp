#include "app/options.h"

#include <QCommandLineParser>
#include <QHostAddress>
#include <QStringList>
#include <algorithm>
#include <iterator>
#include <stdexcept>

#include "app/work_folder.h"
#include "sim/options.h"

#ifndef QVX_VERSION
#define QVX_VERSION "unknown"
#endif

namespace qvx::app {

namespace {

OptionEntry flag(const QString& name, const QString& help, std::function<void(Options&)> set) {
  return {QCommandLineOption(name, help),
          [set = std::move(set)](Options& o, const std::string&) { set(o); }};
}

OptionEntry valued(const QString& name, const QString& valueName, const QString& help,
                   std::function<void(Options&, const std::string&)> apply) {
  return {QCommandLineOption(name, help, valueName), std::move(apply)};
}

// "PORT", "ADDRESS:PORT" or "[IPv6]:PORT"; "localhost" stands for 127.0.0.1.
void parseScpiEndpoint(const std::string& v, Options& o) {
  const std::size_t colon = v.rfind(':');
  std::string address = colon == std::string::npos ? "127.0.0.1" : v.substr(0, colon);
  const std::string port = colon == std::string::npos ? v : v.substr(colon + 1);
  if (address.size() >= 2 && address.front() == '[' && address.back() == ']')
    address = address.substr(1, address.size() - 2);
  if (address == "localhost") address = "127.0.0.1";
  const bool portOk =
      !port.empty() && port.size() <= 5 &&
      std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
      std::stoi(port) <= 65535;
  if (!portOk || QHostAddress(QString::fromStdString(address)).isNull())
    throw std::invalid_argument(
        "--scpi takes PORT or ADDRESS:PORT (a port 0..65535, an IP address), not '" + v + "'");
  o.scpi = true;
  o.scpiAddress = address;
  o.scpiPort = std::stoi(port);
}

OptionEntry hidden(OptionEntry entry) {
  entry.option.setFlags(QCommandLineOption::HiddenFromHelp);
  return entry;
}

// Help lines are folded to this width after the option column.
constexpr int kColumn = 26, kWidth = 79;

// "  --name=VALUE   help text", the help folded into a column of its own.
std::string helpLine(const QCommandLineOption& option) {
  QString names;
  for (const QString& n : option.names()) {
    if (!names.isEmpty()) names += ", ";
    names += (n.size() == 1 ? "-" : "--") + n;
  }
  if (!option.valueName().isEmpty()) names += "=" + option.valueName();
  std::string text, line = "  " + names.toStdString();
  if (line.size() >= kColumn) {
    text = line + "\n";
    line.clear();
  }
  for (const QString& word : option.description().split(' ', Qt::SkipEmptyParts)) {
    if (line.size() > kColumn && line.size() + 1 + word.size() > kWidth) {
      text += line + "\n";
      line.clear();
    }
    if (line.size() < kColumn)
      line.resize(kColumn, ' ');
    else
      line += ' ';
    line += word.toStdString();
  }
  return text + line + "\n";
}

// "a,b" -> each name in turn, every one of them known.
void addExtraPanels(Options& o, const std::string& list) {
  const std::vector<std::string>& known = extraPanelNames();
  std::string names;
  for (const std::string& k : known) names += (names.empty() ? "" : ", ") + k;
  std::size_t from = 0;
  while (from <= list.size()) {
    const std::size_t comma = std::min(list.find(',', from), list.size());
    const std::string name = list.substr(from, comma - from);
    if (std::find(known.begin(), known.end(), name) == known.end())
      throw std::invalid_argument("--show takes a comma-separated list of " + names + ", not '" +
                                  name + "'");
    if (std::find(o.show.begin(), o.show.end(), name) == o.show.end()) o.show.push_back(name);
    from = comma + 1;
  }
}

}  // namespace

const std::vector<std::string>& extraPanelNames() {
  static const std::vector<std::string> kNames = {"measurements", "bode"};
  return kNames;
}

std::vector<OptionEntry> programOptions() {
  std::vector<OptionEntry> entries = {
      valued("port", "sim|ppdev|direct",
             "talk to the simulated instrument (sim, the default); to the printer port "
             "through the kernel's ppdev driver, the way without root (ppdev: LPT n is "
             "/dev/parport(n-1); ppdev:/dev/parportN names the node); or with raw port I/O "
             "(direct, needs root)",
             [](Options& o, const std::string& v) {
               const std::string ppdev = "ppdev";
               if (v == "sim") {
                 o.port = Options::Port::Sim;
               } else if (v == "direct") {
                 o.port = Options::Port::Direct;
               } else if (v == ppdev || (v.starts_with(ppdev + ":") && v.size() > 6)) {
                 o.port = Options::Port::Ppdev;
                 o.ppdevDevice = v == ppdev ? "" : v.substr(6);
               } else {
                 throw std::invalid_argument(
                     "--port takes sim, ppdev, ppdev:/dev/parportN or direct, not '" + v + "'");
               }
             }),
      valued("screenshot", "FILE.png",
             "save a picture of the main window (1190 x 818 pixels) once start-up is done, "
             "then exit",
             [](Options& o, const std::string& v) {
               if (v.empty()) throw std::invalid_argument("--screenshot needs a file name");
               o.screenshot = v;
             }),
      valued("mode", "MODE", "start in scope, generator, scopegen, counter or fft mode",
             [](Options& o, const std::string& v) {
               static const char* const kModes[] = {"scope", "generator", "scopegen", "counter",
                                                    "fft"};
               const auto* found = std::find(std::begin(kModes), std::end(kModes), v);
               if (found == std::end(kModes))
                 throw std::invalid_argument(
                     "--mode takes scope, generator, scopegen, counter or fft, not '" + v + "'");
               o.mode = static_cast<int>(found - std::begin(kModes));
             }),
      valued("show", "PANELS",
             "open these extra panels after start-up: measurements (the measurements beside "
             "the display), bode (the Bode view over the display)",
             addExtraPanels),
      flag("go",
           "press GO once after start-up (with --screenshot: wait for the run to end, in "
           "COUNTER and GENERATOR mode for the first counter reading, before saving); with "
           "the Bode view shown, run its sweep instead",
           [](Options& o) { o.go = true; }),
      flag("headless",
           "run with no window and no display, driven by the command file QVXcom.txt (stop "
           "with Ctrl-C)",
           [](Options& o) { o.headless = true; }),
      valued("scpi", "[ADDRESS:]PORT",
             "serve SCPI commands over TCP: --scpi alone on 127.0.0.1:5025, --scpi=PORT on "
             "another port of this machine, --scpi=ADDRESS:PORT on that address (0.0.0.0 for "
             "every network: anyone who can reach it can drive the instrument)",
             [](Options& o, const std::string& v) { parseScpiEndpoint(v, o); }),
      valued("print-to", "FILE.pdf", "send every print to this PDF file instead of the printer",
             [](Options& o, const std::string& v) {
               if (v.empty()) throw std::invalid_argument("--print-to needs a file name");
               o.printTo = v;
             }),
      valued("folder", "DIR",
             "work in DIR, created if missing: the port, calibration and command files are read "
             "and written there (default: the current folder; ~/ stands for the home folder)",
             [](Options& o, const std::string& v) {
               if (v.empty()) throw std::invalid_argument("--folder needs a folder name");
               try {
                 o.folder = expandHome(v).string();
               } catch (const std::invalid_argument& e) {
                 throw std::invalid_argument(std::string("--folder: ") + e.what());
               }
             }),
      flag("user-folder",
           "work in the folder QVXScope in the home folder, created on first start (the menu "
           "entry starts the program so)",
           [](Options& o) {
             try {
               o.folder = userFolder().string();
             } catch (const std::invalid_argument& e) {
               throw std::invalid_argument(std::string("--user-folder: ") + e.what());
             }
           }),
      {QCommandLineOption({"h", "help"}, "show this text"),
       [](Options& o, const std::string&) { o.help = true; }},
      flag("version", "show the program's version", [](Options& o) { o.version = true; }),
      valued("bode", "START:STOP:N",
             "with --headless: measure the frequency response through SCOPE+GEN from START to "
             "STOP Hz, N points a decade (a sine a point), or with START:STOP:N:single in one pass "
             "of a "
             "multi-tone wave, write it to the --bode-csv file and exit; with --show=bode instead, "
             "the plan of the Bode view",
             [](Options& o, const std::string& v) { o.bode = bode::parsePlan(v); }),
      valued("bode-csv", "FILE.csv", "where --bode writes the response",
             [](Options& o, const std::string& v) {
               if (v.empty()) throw std::invalid_argument("--bode-csv needs a file name");
               o.bodeCsv = v;
             }),
      hidden(flag("man", "print the manual page in roff", [](Options& o) { o.man = true; })),
  };
  for (const sim::SimOption& option : sim::simOptions()) {
    const QString name = QString::fromStdString(option.name),
                  help = QString::fromStdString(option.help);
    auto apply = option.apply;
    auto intoSim = [apply](Options& o, const std::string& v) { apply(o.sim, v); };
    entries.push_back(option.valueName.empty()
                          ? OptionEntry{QCommandLineOption(name, help), intoSim}
                          : valued(name, QString::fromStdString(option.valueName), help, intoSim));
  }
  return entries;
}

bool hiddenFromHelp(const OptionEntry& entry) {
  return entry.option.flags().testFlag(QCommandLineOption::HiddenFromHelp);
}

bool parseOptions(const std::vector<std::string>& rawArgs, Options& options, std::string& error) {
  const std::vector<OptionEntry> entries = programOptions();
  // --scpi alone takes the usual SCPI port; the parser knows only options with a value
  // always or never.
  std::vector<std::string> args = rawArgs;
  for (std::string& a : args)
    if (a == "--scpi") a = "--scpi=5025";
  QCommandLineParser parser;
  parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
  for (const OptionEntry& e : entries) parser.addOption(e.option);
  QStringList arguments{"qvxscope"};
  for (const std::string& a : args) arguments << QString::fromStdString(a);
  if (!parser.parse(arguments)) {
    const QStringList unknown = parser.unknownOptionNames();
    error = unknown.isEmpty()
                ? parser.errorText().toStdString()
                : "unknown option '" + std::string(unknown.front().size() == 1 ? "-" : "--") +
                      unknown.front().toStdString() + "' (try --help)";
    return false;
  }
  try {
    for (const OptionEntry& e : entries) {
      if (!parser.isSet(e.option)) continue;
      if (e.option.valueName().isEmpty())
        e.apply(options, {});
      else
        for (const QString& v : parser.values(e.option)) e.apply(options, v.toStdString());
    }
  } catch (const std::invalid_argument& e) {
    error = e.what();
    return false;
  }
  for (const QString& file : parser.positionalArguments())
    options.files.push_back(file.toStdString());
  if (parser.isSet("folder") && parser.isSet("user-folder")) {
    error = "--folder and --user-folder each name the folder to work in; give one of them";
    return false;
  }
  const bool bodeShown =
      std::find(options.show.begin(), options.show.end(), "bode") != options.show.end();
  if (options.bode && options.headless && options.bodeCsv.empty()) {
    error = "--bode with --headless writes its response to a file: give --bode-csv=FILE";
    return false;
  }
  if (options.bode && !options.headless && (!bodeShown || !options.bodeCsv.empty())) {
    error =
        "--bode runs one measurement without a window (give --headless and --bode-csv=FILE), "
        "or sets the plan of the Bode view (give --show=bode)";
    return false;
  }
  if (!options.bode && !options.bodeCsv.empty()) {
    error = "--bode-csv names where --bode writes; give --bode=START:STOP:N too";
    return false;
  }
  if (options.headless && !options.screenshot.empty()) {
    error = "--screenshot needs the window; it cannot be used with --headless";
    return false;
  }
  return true;
}

std::string usage(const std::string& program) {
  std::string text = "Usage: " + program +
                     " [options] [FILE.qvx|FILE.fft|FILE.dpf ...]\n"
                     "QVX Scope: storage scope, spectrum analyser, generator and counter on\n"
                     "the printer port.\n\n";
  const std::vector<OptionEntry> entries = programOptions();
  const std::size_t simFirst = entries.size() - sim::simOptions().size();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (i == simFirst) text += "\nSimulated instrument:\n";
    if (!hiddenFromHelp(entries[i])) text += helpLine(entries[i].option);
  }
  text +=
      "\nFiles named after the options (captures, spectra, profiles) are loaded after\n"
      "start-up as the LOAD panel loads them.\n";
  return text;
}

std::string versionText(const std::string& program) {
  return program + " " + QVX_VERSION + "\n";
}

}  // namespace qvx::app
