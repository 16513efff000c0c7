#include "core/command_file_watch.h"

#include <sys/stat.h>

#include <sstream>

namespace qvx {

std::string fileStamp(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return {};
  std::ostringstream stamp;
  stamp << st.st_dev << ':' << st.st_ino << ':' << st.st_mode << ':' << st.st_size << '@'
        << st.st_mtim.tv_sec << '.' << st.st_mtim.tv_nsec << '/' << st.st_ctim.tv_sec << '.'
        << st.st_ctim.tv_nsec;
  return stamp.str();
}

bool commandFileWaiting(Scope& s) {
  if (!s.host.FileExists(s.RemoteFilePath)) return false;
  return s.RemoteSkipStamp.empty() || fileStamp(s.RemoteFilePath) != s.RemoteSkipStamp;
}

}  // namespace qvx
