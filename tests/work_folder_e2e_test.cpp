#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "child_process.h"
#include "home_at.h"
#include "scripted_host.h"

namespace qvx {
namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// The program started in one folder and told to work in another, as the menu starts it:
// it makes the folder, its port panel keeps the port file there on the first start, and it
// answers the command file there. The start folder's port file names LPT2, where the
// simulated instrument is not, so a program reading it would find nothing to capture with.
TEST(WorkFolder, TheProgramKeepsItsFilesInTheFolderItIsTold) {
  testing::TempFolder start;
  testing::HomeAt home(start.path() / "home");
  struct Case {
    std::string option;
    fs::path folder;
  };
  for (const Case& c : {Case{"--folder=lab/run", start.path() / "lab/run"},
                        Case{"--folder=~/bench", start.path() / "home/bench"},
                        Case{"--user-folder", start.path() / "home/QVXScope"}}) {
    SCOPED_TRACE(c.option);
    std::ofstream("QVXport.cfg", std::ios::binary) << " 2 \r\n";
    {
      testing::ChildProcess program(QVXSCOPE_PATH, {"--headless", c.option}, start.path());
      ASSERT_TRUE(testing::waitForFile(c.folder / "QVXport.cfg", 30)) << program.stderrText();
      testing::writeCommandFile(c.folder, "SAMPLESIZE=2\r\nADATA=1\r\nEXECUTE=1\r\n");
      ASSERT_TRUE(testing::waitForFile(c.folder / "QVXAdata.dat", 30)) << program.stderrText();
      EXPECT_EQ(program.stop(), 0) << program.stderrText();
    }
    EXPECT_EQ(fs::file_size(c.folder / "QVXAdata.dat"), 2u * 2048);
    EXPECT_FALSE(fs::exists(c.folder / "QVXcom.txt"));
    EXPECT_EQ(contents(c.folder / "QVXport.cfg").find('2'), std::string::npos);
    EXPECT_EQ(contents("QVXport.cfg"), " 2 \r\n");
    EXPECT_FALSE(fs::exists("QVXAdata.dat"));
  }
}

// A folder that cannot be made or entered ends the program at once with status 2 and a
// message naming it, before it touches any file.
TEST(WorkFolder, AFolderThatCannotBeMadeIsRefusedWithStatus2) {
  testing::TempFolder start;
  std::ofstream("taken") << "a file, not a folder";
  for (const std::string folder : {"taken", "taken/sub"}) {
    const std::string command = std::string("timeout 30 ") + QVXSCOPE_PATH +
                                " --headless --folder=" + folder + " 2>err.txt >out.txt";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status)) << folder;
    EXPECT_EQ(WEXITSTATUS(status), 2) << folder;
    const std::string said = contents("err.txt");
    EXPECT_EQ(said.rfind("qvxscope: cannot work in the folder " + folder + ": ", 0), 0u) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << "one line: " << said;
    EXPECT_EQ(contents("out.txt"), "");
  }
  EXPECT_EQ(std::vector<fs::path>(fs::directory_iterator("."), {}).size(), 3u)
      << "nothing but the file and the two outputs";
}

// A screenshot named on the command line lands where the user typed it, not in the folder
// the program works in.
TEST(WorkFolder, AScreenshotNameKeepsMeaningTheStartFolder) {
  testing::TempFolder start;
  fs::create_directory("work");
  std::ofstream("work/QVXport.cfg", std::ios::binary) << " 1 \r\n";
  const std::string command =
      std::string("timeout 60 ") + QVXSCOPE_PATH + " --folder=work --screenshot=shot.png 2>err.txt";
  EXPECT_EQ(std::system(command.c_str()), 0) << contents("err.txt");
  EXPECT_TRUE(fs::exists("shot.png"));
  EXPECT_GT(fs::file_size("shot.png"), 1000u);
  EXPECT_FALSE(fs::exists("work/shot.png"));
}

}  // namespace
}  // namespace qvx
