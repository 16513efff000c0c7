#pragma once
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace qvx::bench {

// The processor time (user and system) that process `pid` has used so far, in seconds.
inline double processorSeconds(int pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  const std::string text((std::istreambuf_iterator<char>(stat)), {});
  // The fields after the command name, which is in brackets and may hold blanks.
  std::istringstream fields(text.substr(text.rfind(')') + 2));
  std::string field;
  long ticks = 0;
  for (int i = 3; i <= 15 && fields >> field; ++i)
    if (i == 14 || i == 15) ticks += std::stol(field);
  return double(ticks) / double(sysconf(_SC_CLK_TCK));
}

}  // namespace qvx::bench
