#include <gtest/gtest.h>

#include <cctype>

// The options parser belongs to the program, not to a library; it is compiled in here.
#include "app/options.cpp"

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

TEST(Options, HelpListsEveryOptionOnceWithItsValue) {
  Options o;
  std::string error;
  ASSERT_TRUE(parseOptions({"--help"}, o, error));
  EXPECT_TRUE(o.help);
  const std::string text = usage("qvxscope");
  for (const OptionEntry& e : programOptions()) {
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

}  // namespace
}  // namespace qvx::app
