#include "app/work_folder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>
#include <system_error>

namespace qvx::app {

namespace fs = std::filesystem;

namespace {

fs::path homeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  // A session without HOME (some service managers) still has its account's home.
  if (const passwd* account = ::getpwuid(::getuid()); account && account->pw_dir)
    return account->pw_dir;
  throw std::invalid_argument("no home folder is known (HOME is not set)");
}

void anchor(std::string& file, const fs::path& base) {
  if (!file.empty() && fs::path(file).is_relative()) file = (base / file).string();
}

}  // namespace

fs::path userFolder() {
  return homeFolder() / "QVXScope";
}

fs::path expandHome(const std::string& folder) {
  if (folder == "~") return homeFolder();
  if (folder.rfind("~/", 0) == 0) return homeFolder() / folder.substr(2);
  return folder;
}

bool enterFolder(const fs::path& folder, std::string& error) {
  std::error_code failure;
  // create_directories reports an existing folder as nothing created, not as a failure.
  fs::create_directories(folder, failure);
  if (!failure) fs::current_path(folder, failure);
  if (!failure) return true;
  error = "cannot work in the folder " + folder.string() + ": " + failure.message();
  return false;
}

void anchorFileArguments(Options& options) {
  std::error_code failure;
  const fs::path base = fs::current_path(failure);
  if (failure) return;  // a deleted current folder: names stay as typed
  anchor(options.screenshot, base);
  anchor(options.printTo, base);
  anchor(options.bodeCsv, base);
  for (std::string& file : options.files) anchor(file, base);
}

}  // namespace qvx::app
