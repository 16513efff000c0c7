#include "core/file_lister.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace qvx {

namespace fs = std::filesystem;

namespace {

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool hidden(const std::string& name) {
  return name.empty() || name.front() == '.';
}

// Mount points in /proc/self/mounts write blanks and the like as octal escapes.
std::string unescapeMountPath(const std::string& raw) {
  std::string out;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\\' && i + 3 < raw.size()) {
      const std::string octal = raw.substr(i + 1, 3);
      if (std::all_of(octal.begin(), octal.end(), [](char c) { return c >= '0' && c <= '7'; })) {
        out += static_cast<char>(std::stoi(octal, nullptr, 8));
        i += 3;
        continue;
      }
    }
    out += raw[i];
  }
  return out;
}

bool isVolumeMount(const std::string& path) {
  for (const char* base : {"/media/", "/mnt/", "/run/media/"})
    if (path.rfind(base, 0) == 0) return true;
  return path == "/mnt";
}

template <typename Keep>
std::vector<std::string> entries(const std::string& folder, Keep keep) {
  std::vector<std::string> names;
  std::error_code ec;
  fs::directory_iterator it(folder.empty() ? fs::path(".") : fs::path(folder), ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (!hidden(name) && keep(*it)) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

std::vector<FileLister::Place> SystemFileLister::places() {
  std::vector<Place> list{{"/  (filesystem root)", "/"}};
  if (const char* home = std::getenv("HOME"); home && *home)
    list.push_back({std::string("Home  (") + home + ")", home});
  std::ifstream mounts("/proc/self/mounts");
  std::string line;
  while (std::getline(mounts, line)) {
    std::istringstream fields(line);
    std::string device, mountPoint;
    fields >> device >> mountPoint;
    mountPoint = unescapeMountPath(mountPoint);
    if (isVolumeMount(mountPoint)) list.push_back({mountPoint, mountPoint});
  }
  return list;
}

std::vector<std::string> SystemFileLister::folders(const std::string& folder) {
  return entries(folder, [](const fs::directory_entry& e) {
    std::error_code ec;
    return e.is_directory(ec);
  });
}

std::vector<std::string> SystemFileLister::files(const std::string& folder,
                                                 const std::vector<std::string>& extensions) {
  return entries(folder, [&](const fs::directory_entry& e) {
    std::error_code ec;
    if (!e.is_regular_file(ec)) return false;
    if (extensions.empty()) return true;
    std::string ext = lower(e.path().extension().string());
    if (!ext.empty()) ext.erase(0, 1);
    return std::find(extensions.begin(), extensions.end(), ext) != extensions.end();
  });
}

SystemFileLister& systemFileLister() {
  static SystemFileLister lister;
  return lister;
}

}  // namespace qvx
