#pragma once
#include <filesystem>
#include <string>

#include "app/options.h"

namespace qvx::app {

// The program reads and writes its port, calibration and command files in the folder it
// works in: the current folder, or the one --folder or --user-folder names.

// The folder of a start from the desktop's menu: QVXScope in the user's home folder.
// Throws std::invalid_argument when no home folder is known.
std::filesystem::path userFolder();

// "~" and "~/..." stand for the home folder, since a shell leaves "--folder=~/x" alone.
std::filesystem::path expandHome(const std::string& folder);

// Makes `folder` the current folder, creating it and its parents when missing. Returns
// false, with `error` naming the folder and the reason, when it cannot.
bool enterFolder(const std::filesystem::path& folder, std::string& error);

// Makes the file names of the command line (files to load, the screenshot, the print file)
// absolute against the current folder, so that they keep naming what the user meant once
// the program works in another folder.
void anchorFileArguments(Options& options);

}  // namespace qvx::app
