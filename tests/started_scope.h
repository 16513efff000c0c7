#pragma once
#include <filesystem>
#include <fstream>
#include <string>

#include "control/startup.h"
#include "remote/command_file.h"
#include "started.h"

namespace qvx::testing {

// The started program with the command-file poll driven by hand.
struct StartedScope : Started {
  // Writes the command file under the current prefix.
  void command(const std::string& text) {
    std::ofstream(s.RemotePrefix + "com.txt", std::ios::binary) << text;
  }
  // Writes the command file and runs one tick of the poll timer.
  void run(const std::string& text) {
    command(text);
    Timer2_Timer(s);
  }
  bool commandFileThere() const { return std::filesystem::exists(s.RemotePrefix + "com.txt"); }
};

}  // namespace qvx::testing
