#pragma once
#include <string>
#include <vector>

#include "core/host.h"
#include "panel/panel.h"

namespace qvx {

// The place, folder and file lists of a file panel (load, save, frequency recorder) and
// the folder they show: choosing a place or a folder shows its folders and its files
// with the wanted extensions, the folder's path in the path box.
struct FolderLists {
  ListBox& places;
  PictureArea& pathBox;
  ListBox& folders;
  ListBox& files;
  std::string& folder;
  std::vector<std::string>& placePaths;
  std::vector<std::string> extensions;
};

// `folder` as an absolute path; the current folder when empty.
std::string absoluteFolder(const std::string& folder);
// Fills every list for `l.folder`, made absolute (the current folder when empty).
void showFolder(Host& host, FolderLists l);
// The place or folder clicked in its list becomes the folder shown.
void placeChosen(Host& host, FolderLists l);
void folderChosen(Host& host, FolderLists l);
// The full path of the file clicked in the file list; empty when none is.
std::string chosenFile(const FolderLists& l);

}  // namespace qvx
