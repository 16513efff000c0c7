// The program itself on nodes the real kernel refuses: each says why on stderr, then
// starts as with nothing attached and takes its picture.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "child_process.h"
#include "scripted_host.h"

namespace qvx {
namespace {

TEST(PpdevProgram, StartsAfterSayingWhyTheKernelRefusedTheNode) {
  struct Case {
    std::string node, says;
  };
  const Case cases[] = {{"/dev/null", "/dev/null is not a parallel port device"},
                        {"/nonexistent/parport9", "/nonexistent/parport9 is not there"}};
  for (const Case& c : cases) {
    testing::TempFolder folder;
    std::ofstream("QVXport.cfg", std::ios::binary) << " 1 \r\n";
    testing::ChildProcess program(QVXSCOPE_PATH,
                                  {"--port=ppdev:" + c.node, "--screenshot", "shot.png", "--go"},
                                  folder.path());
    EXPECT_EQ(program.waitExit(60).value_or(-1), 0) << program.stderrText();
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "shot.png"));
    const std::string said = program.stderrText();
    EXPECT_NE(said.find("qvxscope: " + c.says), std::string::npos) << said;
    EXPECT_NE(said.find("carrying on as if nothing answered"), std::string::npos) << said;
  }
}

}  // namespace
}  // namespace qvx
