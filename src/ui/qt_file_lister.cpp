#include "ui/qt_file_lister.h"

#include <QDir>
#include <QStorageInfo>
#include <algorithm>

namespace qvx::ui {

namespace {

// Kernel and memory filesystems are not places a user keeps files on.
bool userVolume(const QStorageInfo& v) {
  static const QByteArray kSkipped[] = {
      "proc",      "sysfs",      "devtmpfs", "devpts", "cgroup",   "cgroup2", "overlay",
      "tmpfs",     "securityfs", "pstore",   "bpf",    "tracefs",  "debugfs", "mqueue",
      "hugetlbfs", "fusectl",    "configfs", "autofs", "squashfs", "nsfs"};
  if (!v.isValid() || !v.isReady() || v.rootPath() == "/") return false;
  const QByteArray type = v.fileSystemType();
  return std::none_of(std::begin(kSkipped), std::end(kSkipped),
                      [&](const QByteArray& t) { return t == type; });
}

}  // namespace

std::vector<FileLister::Place> QtFileLister::places() {
  std::vector<Place> list{{"/  (filesystem root)", "/"}};
  const QString home = QDir::homePath();
  list.push_back({("Home  (" + home + ")").toStdString(), home.toStdString()});
  for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
    if (!userVolume(v)) continue;
    const std::string path = v.rootPath().toStdString();
    const std::string name = v.displayName().toStdString();
    list.push_back({name.empty() || name == path ? path : path + "  (" + name + ")", path});
  }
  return list;
}

}  // namespace qvx::ui
