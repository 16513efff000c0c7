#include <gtest/gtest.h>

// The options parser belongs to the program, not to a library; it is compiled in here.
#include "app/options.cpp"

namespace qvx::app {
namespace {

bool parse(std::vector<std::string> args, Options& o, std::string& error) {
  return parseOptions(args, o, error);
}

TEST(Options, DefaultsToTheSimulatedInstrument) {
  Options o;
  std::string error;
  ASSERT_TRUE(parse({}, o, error));
  EXPECT_EQ(o.port, Options::Port::Sim);
  EXPECT_TRUE(o.screenshot.empty());
  EXPECT_FALSE(o.go);
  EXPECT_FALSE(o.help);
}

TEST(Options, ReadsPortScreenshotAndGo) {
  Options o;
  std::string error;
  ASSERT_TRUE(parse({"--port=direct", "--screenshot", "/tmp/a.png", "--go"}, o, error));
  EXPECT_EQ(o.port, Options::Port::Direct);
  EXPECT_EQ(o.screenshot, "/tmp/a.png");
  EXPECT_TRUE(o.go);

  Options o2;
  ASSERT_TRUE(parse({"--screenshot=b.png", "--port=sim"}, o2, error));
  EXPECT_EQ(o2.screenshot, "b.png");
  EXPECT_EQ(o2.port, Options::Port::Sim);
}

TEST(Options, PassesInstrumentOptionsToTheSimulator) {
  Options o;
  std::string error;
  ASSERT_TRUE(parse({"--sim-model=30", "--sim-no-generator"}, o, error)) << error;
  EXPECT_EQ(o.sim.modelCode, 2);
  EXPECT_FALSE(o.sim.generator);
}

TEST(Options, RejectsUnknownAndMalformedOptions) {
  struct Case {
    std::vector<std::string> args;
    std::string named;
  };
  for (const Case& c :
       {Case{{"--frobnicate"}, "--frobnicate"}, Case{{"--port=lpt"}, "--port"},
        Case{{"--screenshot"}, "--screenshot"}, Case{{"--screenshot="}, "--screenshot"},
        Case{{"--sim-model=25"}, "--sim-model"}, Case{{"extra"}, "extra"}}) {
    Options o;
    std::string error;
    EXPECT_FALSE(parse(c.args, o, error)) << c.args[0];
    EXPECT_NE(error.find(c.named), std::string::npos) << error;
  }
}

TEST(Options, HelpListsEveryOption) {
  Options o;
  std::string error;
  ASSERT_TRUE(parse({"--help"}, o, error));
  EXPECT_TRUE(o.help);
  std::string text = usage("qvxscope");
  for (const char* name : {"--port=sim|direct", "--screenshot", "--go", "--help", "--sim-model"})
    EXPECT_NE(text.find(name), std::string::npos) << name;
}

TEST(Options, HeadlessAndPrintToFile) {
  Options o;
  std::string error;
  ASSERT_TRUE(parse({"--headless", "--print-to=out.pdf"}, o, error)) << error;
  EXPECT_TRUE(o.headless);
  EXPECT_EQ(o.printTo, "out.pdf");
  EXPECT_NE(usage("qvxscope").find("--headless"), std::string::npos);
  EXPECT_NE(usage("qvxscope").find("--print-to=FILE.pdf"), std::string::npos);
  Options bad;
  EXPECT_FALSE(parse({"--print-to="}, bad, error));
  // A screenshot needs the window that --headless does without.
  EXPECT_FALSE(parse({"--headless", "--screenshot=a.png"}, bad, error));
  EXPECT_NE(error.find("--headless"), std::string::npos) << error;
}

}  // namespace
}  // namespace qvx::app
