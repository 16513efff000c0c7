#include <gtest/gtest.h>

// The options parser belongs to the program, not to a library; it is compiled in here.
#include "app/options.cpp"

namespace qvx::app {
namespace {

TEST(Options, DefaultsToTheSimulatedInstrument) {
  Options o;
  std::string error;
  ASSERT_TRUE(parseOptions({}, o, error));
  EXPECT_EQ(o.port, Options::Port::Sim);
  EXPECT_TRUE(o.screenshot.empty());
  EXPECT_FALSE(o.go || o.help || o.version);
  EXPECT_TRUE(o.files.empty());
}

// Values after '=' or as the next argument, switches, the simulated instrument's options
// and positional arguments, which are kept in order wherever they stand.
TEST(Options, ReadsEveryFormIntoTheOptions) {
  Options o;
  std::string error;
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

  Options later;
  ASSERT_TRUE(parseOptions({"--screenshot=b.png", "--port=direct", "--port=sim", "--version"},
                           later, error));
  EXPECT_EQ(later.screenshot, "b.png");
  EXPECT_EQ(later.port, Options::Port::Sim) << "the last one counts";
  EXPECT_TRUE(later.version);
}

TEST(Options, RejectsUnknownAndMalformedOptionsNamingThem) {
  struct Case {
    std::vector<std::string> args;
    std::string named;
  };
  for (const Case& c : {Case{{"--frobnicate"}, "'--frobnicate'"}, Case{{"-x"}, "'-x'"},
                        Case{{"--port=lpt"}, "--port"}, Case{{"--screenshot"}, "--screenshot"},
                        Case{{"--screenshot="}, "--screenshot"}, Case{{"--go=yes"}, "--go"},
                        Case{{"--sim-model=25"}, "--sim-model"}, Case{{"--sim-a=saw"}, "--sim-a"},
                        Case{{"--sim-unplugged=1"}, "--sim-unplugged"}}) {
    Options o;
    std::string error;
    EXPECT_FALSE(parseOptions(c.args, o, error)) << c.args[0];
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
  for (std::size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
    EXPECT_LE(end - at, 79u) << text.substr(at, end - at);
  EXPECT_EQ(versionText("qvxscope"), std::string("qvxscope ") + QVX_VERSION + "\n");
}

TEST(Options, ModeNamesEachOperatingMode) {
  const char* names[] = {"scope", "generator", "scopegen", "counter", "fft"};
  for (int mode = 0; mode < 5; ++mode) {
    Options o;
    std::string error;
    ASSERT_TRUE(parseOptions({std::string("--mode=") + names[mode]}, o, error)) << error;
    EXPECT_EQ(o.mode, mode);
  }
  Options o;
  std::string error;
  EXPECT_FALSE(parseOptions({"--mode=count"}, o, error));
  EXPECT_NE(error.find("--mode"), std::string::npos);
  EXPECT_NE(error.find("'count'"), std::string::npos);
}

TEST(Options, HeadlessAndPrintToFile) {
  Options o;
  std::string error;
  ASSERT_TRUE(parseOptions({"--headless", "--print-to=out.pdf"}, o, error)) << error;
  EXPECT_TRUE(o.headless);
  EXPECT_EQ(o.printTo, "out.pdf");
  EXPECT_NE(usage("qvxscope").find("--headless"), std::string::npos);
  EXPECT_NE(usage("qvxscope").find("--print-to=FILE.pdf"), std::string::npos);
  Options bad;
  EXPECT_FALSE(parseOptions({"--print-to="}, bad, error));
  // A screenshot needs the window that --headless does without.
  EXPECT_FALSE(parseOptions({"--headless", "--screenshot=a.png"}, bad, error));
  EXPECT_NE(error.find("--headless"), std::string::npos) << error;
}

}  // namespace
}  // namespace qvx::app
