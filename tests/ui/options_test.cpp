#include "app/options.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

#include "app/man_page.h"
#include "app/work_folder.h"
#include "home_at.h"
#include "scripted_host.h"

namespace qvx::app {
namespace {

// Values after '=' or as the next argument, switches, the simulated instrument's options
// and positional arguments, which are kept in order wherever they stand.
TEST(Options, ReadsEveryFormIntoTheOptions) {
  Options o, later, plain;
  std::string error;
  ASSERT_TRUE(parseOptions({}, plain, error));
  EXPECT_EQ(plain.port, Options::Port::Sim);
  EXPECT_FALSE(plain.go || plain.help || plain.version || plain.headless);
  ASSERT_TRUE(parseOptions({"a.dat", "--port=direct", "--screenshot", "/tmp/a.png", "--go",
                            "--sim-model=30", "--sim-no-generator", "--sim-lpt", "3", "b.set"},
                           o, error))
      << error;
  EXPECT_EQ(o.port, Options::Port::Direct);
  EXPECT_EQ(o.screenshot, "/tmp/a.png");
  EXPECT_TRUE(o.go);
  EXPECT_EQ(o.sim.modelCode, 2);
  EXPECT_FALSE(o.sim.generator);
  EXPECT_EQ(o.sim.lpt, 3);
  EXPECT_EQ(o.files, (std::vector<std::string>{"a.dat", "b.set"}));
  ASSERT_TRUE(parseOptions({"--screenshot=b.png", "--port=direct", "--port=sim", "--version"},
                           later, error))
      << error;
  EXPECT_EQ(later.screenshot, "b.png");
  EXPECT_EQ(later.port, Options::Port::Sim) << "the last one counts";
  // ppdev by LPT number, or on a node of its own; a later plain ppdev forgets the node.
  Options byLpt, named, renamed;
  ASSERT_TRUE(parseOptions({"--port=ppdev"}, byLpt, error)) << error;
  EXPECT_EQ(byLpt.port, Options::Port::Ppdev);
  EXPECT_EQ(byLpt.ppdevDevice, "");
  ASSERT_TRUE(parseOptions({"--port", "ppdev:/dev/parport3"}, named, error)) << error;
  EXPECT_EQ(named.port, Options::Port::Ppdev);
  EXPECT_EQ(named.ppdevDevice, "/dev/parport3");
  ASSERT_TRUE(parseOptions({"--port=ppdev:/dev/x", "--port=ppdev"}, renamed, error)) << error;
  EXPECT_EQ(renamed.ppdevDevice, "");
  EXPECT_TRUE(later.version);
  const char* modes[] = {"scope", "generator", "scopegen", "counter", "fft"};
  for (int mode = 0; mode < 5; ++mode) {
    Options m;
    ASSERT_TRUE(parseOptions(
        {std::string("--mode=") + modes[mode], "--headless", "--print-to=o.pdf"}, m, error))
        << error;
    EXPECT_EQ(m.mode, mode);
    EXPECT_TRUE(m.headless && m.printTo == "o.pdf");
  }
}

// --show takes a list, also over several options, each panel once; a name it does not know
// is refused with that name, whatever stands beside it.
TEST(Options, ShowTakesACommaSeparatedListOfKnownPanels) {
  Options o, none;
  std::string error;
  ASSERT_TRUE(parseOptions({"--show=measurements", "--show", "bode,measurements"}, o, error))
      << error;
  EXPECT_EQ(o.show, (std::vector<std::string>{"measurements", "bode"}));
  ASSERT_TRUE(parseOptions({}, none, error));
  EXPECT_TRUE(none.show.empty());
  for (const std::string bad :
       {"measurements,scpi", "bogus", "measurements,", ",measurements", "Measurements"}) {
    Options refused;
    EXPECT_FALSE(parseOptions({"--show=" + bad}, refused, error)) << bad;
    EXPECT_NE(error.find("--show"), std::string::npos) << error;
    const std::string culprit = bad == "measurements,scpi" ? "'scpi'"
                                : bad == "bogus"           ? "'bogus'"
                                : bad == "Measurements"    ? "'Measurements'"
                                                           : "''";
    EXPECT_NE(error.find(culprit), std::string::npos) << error;
  }
}

// A screenshot needs the window that --headless does without.
TEST(Options, RejectsUnknownMalformedAndClashingOptionsNamingThem) {
  struct Case {
    std::vector<std::string> args;
    std::string named;
  };
  for (const Case& c : {Case{{"--frobnicate"}, "'--frobnicate'"}, Case{{"-x"}, "'-x'"},
                        Case{{"--port=lpt"}, "--port"}, Case{{"--port=ppdev:"}, "--port"},
                        Case{{"--port=ppdevx"}, "'ppdevx'"}, Case{{"--screenshot"}, "--screenshot"},
                        Case{{"--screenshot="}, "--screenshot"}, Case{{"--go=yes"}, "--go"},
                        Case{{"--sim-model=25"}, "--sim-model"}, Case{{"--sim-a=saw"}, "--sim-a"},
                        Case{{"--sim-unplugged=1"}, "--sim-unplugged"},
                        Case{{"--mode=count"}, "'count'"}, Case{{"--print-to="}, "--print-to"},
                        Case{{"--headless", "--screenshot=a.png"}, "--headless"}}) {
    Options o;
    std::string error;
    EXPECT_FALSE(parseOptions(c.args, o, error)) << c.args.back();
    EXPECT_NE(error.find(c.named), std::string::npos) << error;
  }
}

// --scpi alone is this machine's usual SCPI port; a port alone stays on this machine; an
// address is taken only as an IP address, and a port only within 0..65535.
TEST(Options, ScpiTakesAPortAnAddressOrNeither) {
  struct Case {
    std::vector<std::string> args;
    std::string address;
    int port;
  };
  for (const Case& c :
       {Case{{"--scpi"}, "127.0.0.1", 5025}, Case{{"--scpi=6000"}, "127.0.0.1", 6000},
        Case{{"--scpi", "a.qvx"}, "127.0.0.1", 5025},
        Case{{"--scpi=0.0.0.0:7000"}, "0.0.0.0", 7000}, Case{{"--scpi=[::1]:65535"}, "::1", 65535},
        Case{{"--scpi=localhost:0"}, "127.0.0.1", 0}}) {
    Options o;
    std::string error;
    ASSERT_TRUE(parseOptions(c.args, o, error)) << error;
    EXPECT_TRUE(o.scpi);
    EXPECT_EQ(o.scpiAddress, c.address);
    EXPECT_EQ(o.scpiPort, c.port);
  }
  Options plain;
  std::string error;
  ASSERT_TRUE(parseOptions({"a.qvx"}, plain, error));
  EXPECT_FALSE(plain.scpi);
  for (const char* bad : {"--scpi=65536", "--scpi=lab-pc:5025", "--scpi=12:", "--scpi=-1"}) {
    Options o;
    EXPECT_FALSE(parseOptions({bad}, o, error)) << bad;
    EXPECT_NE(error.find("--scpi"), std::string::npos) << error;
  }
}

TEST(Options, HelpListsEveryOptionOnceWithItsValue) {
  Options o;
  std::string error;
  ASSERT_TRUE(parseOptions({"--help"}, o, error));
  EXPECT_TRUE(o.help);
  const std::string text = usage("qvxscope");
  for (const OptionEntry& e : programOptions()) {
    if (hiddenFromHelp(e)) continue;
    std::string name = "--" + e.option.names().back().toStdString();
    if (!e.option.valueName().isEmpty()) name += "=" + e.option.valueName().toStdString();
    EXPECT_NE(text.find(name + " "), std::string::npos) << name;
  }
  std::string flowing;  // the text with its folds undone
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!std::isspace(static_cast<unsigned char>(text[i])) || flowing.empty() ||
        flowing.back() != ' ')
      flowing += std::isspace(static_cast<unsigned char>(text[i])) ? ' ' : text[i];
  EXPECT_NE(flowing.find("ppdev driver, the way without root"), std::string::npos) << text;
  for (std::size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
    EXPECT_LE(end - at, 79u) << text.substr(at, end - at);
  EXPECT_EQ(versionText("qvxscope"), std::string("qvxscope ") + QVX_VERSION + "\n");
}

// The folder options: a plain folder, the home folder's "~" (which a shell leaves alone
// after "--folder="), the menu's --user-folder; two folders are one too many.
TEST(Options, FolderOptionsNameTheFolderToWorkIn) {
  testing::HomeAt home("/home/tester");
  struct Case {
    std::vector<std::string> args;
    std::string folder;
  };
  for (const Case& c :
       {Case{{}, ""}, Case{{"--folder=lab/run"}, "lab/run"},
        Case{{"--folder", "/data/qvx"}, "/data/qvx"}, Case{{"--folder=~"}, "/home/tester"},
        Case{{"--folder=~/bench"}, "/home/tester/bench"}, Case{{"--folder=a~/b"}, "a~/b"},
        Case{{"--folder=~x"}, "~x"}, Case{{"--user-folder"}, "/home/tester/QVXScope"},
        Case{{"--folder=a", "--folder=b"}, "b"}}) {
    Options o;
    std::string error;
    ASSERT_TRUE(parseOptions(c.args, o, error)) << error;
    EXPECT_EQ(o.folder, c.folder) << (c.args.empty() ? "" : c.args.front());
  }
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--folder="}, {"--user-folder", "--folder=x"}}) {
    Options o;
    std::string error;
    EXPECT_FALSE(parseOptions(args, o, error)) << args.back();
    EXPECT_NE(error.find("--folder"), std::string::npos) << error;
  }
}

// The options as each text presents them ("-h, --help", "--port=sim|direct"): --help's
// option column, and the tags of the paragraphs of the manual page's OPTIONS with roff's
// font changes and minus signs read back.
std::set<std::string> helpTerms(const std::string& help) {
  std::set<std::string> terms;
  const std::regex line(R"(^  (-[^\s,]+(, -[^\s,]+)*))");
  std::smatch m;
  for (std::size_t at = 0, end; (end = help.find('\n', at)) != std::string::npos; at = end + 1) {
    const std::string text = help.substr(at, end - at);
    if (std::regex_search(text, m, line)) terms.insert(m[1]);
  }
  return terms;
}

std::set<std::string> manTerms(const std::string& page) {
  std::set<std::string> terms;
  const std::size_t first = page.find(".SH OPTIONS\n"), last = page.find(".SH ", first + 1);
  for (std::size_t at = first; (at = page.find(".TP\n", at)) < last;) {
    at += 4;
    std::string term = page.substr(at, page.find('\n', at) - at);
    term = std::regex_replace(term, std::regex(R"(\\f[BIR])"), "");
    terms.insert(std::regex_replace(term, std::regex(R"(\\-)"), "-"));
  }
  return terms;
}

// Both texts come from the one option table; each must show every option with its value,
// and neither the package build's --man, which still parses.
TEST(Options, ManualPageAndHelpListTheSameOptions) {
  const std::set<std::string> help = helpTerms(usage("qvxscope")), man = manTerms(manPage());
  EXPECT_EQ(man, help);
  EXPECT_EQ(help.size() + 1, programOptions().size());
  for (const char* expected : {"--port=sim|ppdev|direct", "-h, --help", "--folder=DIR",
                               "--user-folder", "--sim-a=WAVE", "--sim-unplugged", "--version"})
    EXPECT_EQ(help.count(expected), 1u) << expected;
  EXPECT_EQ(help.count("--man"), 0u);
  Options o;
  std::string error;
  ASSERT_TRUE(parseOptions({"--man"}, o, error)) << error;
  EXPECT_TRUE(o.man);

  const std::string page = manPage();
  EXPECT_EQ(page.rfind(".TH QVXSCOPE 1 ", 0), 0u);
  EXPECT_NE(page.find(std::string("\"qvxscope ") + QVX_VERSION + "\""), std::string::npos);
  // The simulated instrument's options stand under their own heading, after the program's.
  const std::size_t heading = page.find(".SS \"Simulated instrument\"");
  ASSERT_NE(heading, std::string::npos);
  EXPECT_LT(page.find("\\-\\-version"), heading);
  EXPECT_GT(page.find("\\-\\-sim\\-model"), heading);
}

// roff would take a leading dot or quote for a request and a backslash for an escape; an
// option's dashes and a minus sign must print as minus signs, a word's hyphen as a hyphen.
TEST(Options, RoffTextEscapesWhatRoffWouldReadAsMarkup) {
  EXPECT_EQ(roffText("use --port=direct (-1 V)"), "use \\-\\-port=direct (\\-1 V)");
  EXPECT_EQ(roffText("start-up, 20|-30"), "start-up, 20|\\-30");
  EXPECT_EQ(roffText(".qvx files"), "\\&.qvx files");
  EXPECT_EQ(roffText("'quoted'"), "\\&'quoted'");
  EXPECT_EQ(roffText("a.b 'c'"), "a.b 'c'");
  EXPECT_EQ(roffText("C:\\data"), "C:\\edata");
  EXPECT_EQ(roffText(""), "");
}

// The folder is made with its parents and entered; a folder that cannot be made is refused
// with its name and the reason, and the program stays where it was.
TEST(WorkFolder, EntersTheFolderCreatingItOrSaysWhyNot) {
  namespace fs = std::filesystem;
  testing::TempFolder start;
  std::string error;
  ASSERT_TRUE(enterFolder("lab/run/1", error)) << error;
  EXPECT_EQ(fs::current_path(), start.path() / "lab/run/1");
  ASSERT_TRUE(enterFolder(start.path() / "lab", error)) << error;  // already there
  EXPECT_EQ(fs::current_path(), start.path() / "lab");

  fs::current_path(start.path());
  std::ofstream("taken") << "a file, not a folder";
  for (const char* folder : {"taken", "taken/sub"}) {
    error.clear();
    EXPECT_FALSE(enterFolder(folder, error)) << folder;
    EXPECT_NE(error.find(std::string("the folder ") + folder + ": "), std::string::npos) << error;
    EXPECT_GT(error.size(), error.find(": ") + 2) << "the reason is given";
    EXPECT_EQ(fs::current_path(), start.path());
  }
}

// Names typed on the command line mean files in the folder the program was started in,
// also once it works in another.
TEST(WorkFolder, FileArgumentsAreAnchoredWhereTheProgramStarted) {
  testing::TempFolder start;
  Options o;
  o.screenshot = "shots/a.png";
  o.printTo = "/tmp/print.pdf";
  o.files = {"capture.qvx", "/data/p.dpf", "../up.fft"};
  anchorFileArguments(o);
  EXPECT_EQ(o.screenshot, (start.path() / "shots/a.png").string());
  EXPECT_EQ(o.printTo, "/tmp/print.pdf");
  EXPECT_EQ(o.files,
            (std::vector<std::string>{(start.path() / "capture.qvx").string(), "/data/p.dpf",
                                      (start.path() / "../up.fft").string()}));
  Options none;
  anchorFileArguments(none);
  EXPECT_TRUE(none.screenshot.empty() && none.printTo.empty());
}

}  // namespace
}  // namespace qvx::app
