#pragma once
#include <optional>
#include <string>
#include <vector>

#include "core/scope.h"

namespace qvx {

// The load and save panels. Each runs as a request-flag loop inside the click that
// opened it: its buttons only raise flags, the loop performs the loads and saves and
// keeps the place, folder and file lists in step. The remote poll is off meanwhile.
void fileloadbutton_Click(Scope& s);
void filesavebutton_Click(Scope& s);
void FILELOAD(Scope& s);
void filesave(Scope& s);
void filenametest(Scope& s);
// What filenametest says of a name that names another folder, or nothing before its dot.
inline constexpr const char* kBadSaveName =
    "Not a valid File name to save - type a name without / or \\ that does not begin with a dot";
// The part of a typed save name before its first dot, which the saver gives its own
// extension; nothing, with the refusal shown, for an empty name, one holding a folder (it
// would save outside the chosen folder) or one with nothing but blanks before its first
// dot (it would save a hidden file named by the extension alone: "../escape" gives ".qvx").
std::optional<std::string> saveNameStem(Scope& s, const std::string& name);
void File3_Click(Scope& s);

// The custom-wave form of the load panel, as the generator's UPDATE opens it in CUSTOM
// mode: returns true when a wave was loaded, a channel copied or the present wave kept
// (LoadResult 1); the table is then in GenTable, CustomView and the generator panel.
bool customWaveForm(Scope& s);

// Loads a .qvx, .fft or .dpf file named on the command line as the load panel would
// (switching to FFT for a spectrum), then redraws; true when it loaded.
bool openFileFromCommandLine(Scope& s, const std::string& path);

// Extensions the file lists show for the panel's form and the operating mode (none:
// every file, as custom waves may be raw files of any name).
std::vector<std::string> loadExtensions(const RunState& run, const FilePanelState& files);
std::vector<std::string> saveExtensions(const RunState& s);

// Places the controls of both panels; the button column is arranged when a panel opens.
void layOutFilePanels(Panel& p);
// Connects the place and folder lists of both panels.
void wireFileLists(Scope& s);

}  // namespace qvx
