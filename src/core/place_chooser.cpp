#include "core/place_chooser.h"

#include <filesystem>

namespace qvx {

namespace fs = std::filesystem;

std::string absoluteFolder(const std::string& folder) {
  std::error_code ec;
  fs::path path = folder.empty() ? fs::current_path(ec) : fs::path(folder);
  fs::path normal = fs::weakly_canonical(path, ec);
  return (ec ? path : normal).string();
}

void showFolder(Host& host, FolderLists l) {
  l.folder = absoluteFolder(l.folder);
  FileLister& lister = host.Files();
  l.placePaths.clear();
  l.places.items.clear();
  for (const FileLister::Place& place : lister.places()) {
    l.places.items.push_back(place.label);
    l.placePaths.push_back(place.path);
  }
  l.places.listIndex = -1;
  for (std::size_t i = 0; i < l.placePaths.size(); ++i)
    if (l.placePaths[i] == l.folder) l.places.listIndex = static_cast<int>(i);

  l.folders.items.clear();
  if (fs::path(l.folder).has_relative_path()) l.folders.items.push_back("..");
  for (std::string& name : lister.folders(l.folder)) l.folders.items.push_back(name + "/");
  l.folders.listIndex = -1;

  l.files.items = lister.files(l.folder, l.extensions);
  l.files.listIndex = -1;

  l.pathBox.cls();
  l.pathBox.CurrentX = 60;
  l.pathBox.CurrentY = 30;
  l.pathBox.print(l.folder);
}

void placeChosen(Host& host, FolderLists l) {
  const int i = l.places.listIndex;
  if (i < 0 || i >= static_cast<int>(l.placePaths.size())) return;
  l.folder = l.placePaths[i];
  showFolder(host, l);
}

void folderChosen(Host& host, FolderLists l) {
  const int i = l.folders.listIndex;
  if (i < 0 || i >= static_cast<int>(l.folders.items.size())) return;
  std::string name = l.folders.items[i];
  if (name == "..") {
    l.folder = fs::path(l.folder).parent_path().string();
  } else {
    if (!name.empty() && name.back() == '/') name.pop_back();
    l.folder = (fs::path(l.folder) / name).string();
  }
  showFolder(host, l);
}

std::string chosenFile(const FolderLists& l) {
  const int i = l.files.listIndex;
  if (i < 0 || i >= static_cast<int>(l.files.items.size())) return {};
  return (fs::path(l.folder) / l.files.items[i]).string();
}

}  // namespace qvx
