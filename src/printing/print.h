#pragma once
#include "core/scope.h"

namespace qvx {

// The print menu (PRINT): shows its choices over the display and waits for one; prints
// the whole window in landscape or portrait, or the signal display alone, through the
// window's printer (`Scope::printer`); then restores the normal display.
void printscope(Scope& s);

// The menu's buttons only note the choice; printscope acts on it.
void Printform_Click(Scope& s);
void PrintformPort_Click(Scope& s);
void Printsignal_Click(Scope& s);
void exitprint_Click(Scope& s);

// Places the menu's buttons beside the lines that explain them and wires them.
void layOutPrintMenu(Panel& p);
void wirePrintMenu(Scope& s);

// The share of the page width the signal display is printed at.
inline constexpr double kSignalPrintWidth = 0.99;

}  // namespace qvx
