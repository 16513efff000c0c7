#pragma once
#include <string>
#include <vector>

namespace qvx {

// What the load and save panels show of the machine's files: its places (the
// filesystem root, the home folder, mounted volumes), the folders inside a folder and
// the files in it with the wanted extensions. Lists are sorted by name; hidden entries
// (names starting with a dot) are left out; a folder that cannot be read lists nothing.
class FileLister {
 public:
  struct Place {
    std::string label, path;
  };
  virtual ~FileLister() = default;
  virtual std::vector<Place> places() = 0;
  virtual std::vector<std::string> folders(const std::string& folder) = 0;
  // Extensions without the dot, matched without regard to case; none lists every file.
  virtual std::vector<std::string> files(const std::string& folder,
                                         const std::vector<std::string>& extensions) = 0;
};

// The lister built on the standard library; places are the root, $HOME and the volumes
// mounted under /media, /mnt and /run/media.
class SystemFileLister : public FileLister {
 public:
  std::vector<Place> places() override;
  std::vector<std::string> folders(const std::string& folder) override;
  std::vector<std::string> files(const std::string& folder,
                                 const std::vector<std::string>& extensions) override;
};

SystemFileLister& systemFileLister();

}  // namespace qvx
