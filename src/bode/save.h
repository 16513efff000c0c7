#pragma once
#include "core/scope.h"

namespace qvx {

// The Bode view's save pop-up: the place, folder and file lists of the save panel, a
// name, and Save, which writes the response as the same CSV as `--bode-csv`, whole or
// not at all.
void layOutBodeSave(Panel& p);
void wireBodeSave(Scope& s);
// Opens the pop-up over the view, or says that nothing has been measured yet.
void openBodeSave(Scope& s);
void closeBodeSave(Scope& s);
// Save: checks the name as the save panel does, asks, then writes.
void BodeSaveOk_Click(Scope& s);

inline constexpr const char* kNothingToSave =
    "Nothing measured to save - press GO in the Bode view";

}  // namespace qvx
