// The folders of src/ include one another in one direction only: a subsystem that includes
// another is never included back by it, nothing below run control includes it, and the
// shared ground and the simulated instrument reach only what lies under them. The test reads
// the source tree itself, so a new include that breaks the order fails here, naming the files.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace qvx {
namespace {

namespace fs = std::filesystem;

// For each folder of src/, the other folders it includes, each with the files that do.
using IncludeGraph = std::map<std::string, std::map<std::string, std::set<std::string>>>;

IncludeGraph readIncludeGraph(const fs::path& src) {
  const std::regex projectInclude(R"re(^\s*#\s*include\s+"([A-Za-z0-9_]+)/)re");
  IncludeGraph graph;
  for (const auto& entry : fs::recursive_directory_iterator(src)) {
    const std::string ext = entry.path().extension().string();
    if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
    const std::string folder = fs::relative(entry.path(), src).begin()->string();
    graph[folder];
    std::ifstream in(entry.path());
    std::string line;
    std::smatch m;
    while (std::getline(in, line)) {
      if (!std::regex_search(line, m, projectInclude) || m[1] == folder) continue;
      graph[folder][m[1]].insert(fs::relative(entry.path(), src).string());
    }
  }
  return graph;
}

const IncludeGraph& sourceGraph() {
  static const IncludeGraph graph = readIncludeGraph(fs::path(QVX_SOURCE_DIR) / "src");
  return graph;
}

std::string filesOf(const std::set<std::string>& files) {
  std::string list;
  for (const std::string& f : files) list += (list.empty() ? "" : ", ") + f;
  return list;
}

TEST(IncludeRules, TheSourceTreeIsReadAndItsKnownIncludesAreSeen) {
  const IncludeGraph& g = sourceGraph();
  // Guards against a scan that finds nothing and so passes everything.
  for (const char* folder :
       {"core", "panel", "device", "control", "acquisition", "display", "spectrum", "generator",
        "counter", "files", "remote", "sim", "ui", "app"}) {
    EXPECT_TRUE(g.count(folder)) << folder;
  }
  EXPECT_TRUE(g.at("control").count("acquisition"));
  EXPECT_TRUE(g.at("remote").count("generator"));
  EXPECT_TRUE(g.at("display").count("acquisition"));
  EXPECT_TRUE(g.at("device").count("core"));
}

// Two folders that include each other, or a longer loop (a includes b, b includes c, c
// includes a), tie the folders together; the first loop found is named folder by folder.
TEST(IncludeRules, TheFoldersFormLayersWithoutALoop) {
  const IncludeGraph& g = sourceGraph();
  std::map<std::string, int> state;  // 0 unvisited, 1 on the current path, 2 done
  std::vector<std::string> path;
  std::string loop;
  std::function<void(const std::string&)> visit = [&](const std::string& folder) {
    state[folder] = 1;
    path.push_back(folder);
    if (const auto it = g.find(folder); it != g.end()) {
      for (const auto& [to, files] : it->second) {
        if (!loop.empty()) break;
        if (state[to] == 1) {
          for (auto p = std::find(path.begin(), path.end(), to); p != path.end(); ++p) {
            loop += *p + "/ -> ";
          }
          loop += to + "/";
        } else if (state[to] == 0) {
          visit(to);
        }
      }
    }
    path.pop_back();
    state[folder] = 2;
  };
  for (const auto& entry : g) {
    if (state[entry.first] == 0 && loop.empty()) visit(entry.first);
  }
  EXPECT_EQ(loop, "") << "the folders include each other round a loop";
}

TEST(IncludeRules, EachFolderReachesOnlyTheRoomsBelowIt) {
  const IncludeGraph& g = sourceGraph();
  const std::set<std::string> subsystems = {"device",    "acquisition", "display", "spectrum",
                                            "generator", "counter",     "files",   "remote",
                                            "printing",  "help"};
  // Folders that may be included from each folder; the rest of the project is out of reach.
  const std::map<std::string, std::set<std::string>> allowed = {
      {"panel", {}},
      {"core", {"panel"}},
      {"sim", {"core"}},
  };
  for (const auto& [from, targets] : g) {
    for (const auto& [to, files] : targets) {
      if (const auto rule = allowed.find(from); rule != allowed.end()) {
        EXPECT_TRUE(rule->second.count(to))
            << from << "/ includes " << to << "/ in " << filesOf(files);
      }
      if (subsystems.count(from) || from == "core" || from == "panel") {
        EXPECT_NE(to, "control") << from << "/ includes run control in " << filesOf(files);
        EXPECT_TRUE(to != "ui" && to != "app" && to != "sim")
            << from << "/ includes " << to << "/ in " << filesOf(files);
      }
    }
  }
  // The simulated instrument knows the port and nothing else of the program.
  for (const auto& [to, files] : g.at("sim")) {
    for (const std::string& f : files) {
      std::ifstream in(fs::path(QVX_SOURCE_DIR) / "src" / f);
      std::string line;
      while (std::getline(in, line)) {
        if (line.find("#include \"core/") != std::string::npos) {
          EXPECT_NE(line.find("core/port.h"), std::string::npos) << f << ": " << line;
        }
      }
    }
  }
}

}  // namespace
}  // namespace qvx
