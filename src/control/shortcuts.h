#pragma once
#include <string>
#include <vector>

#include "core/scope.h"

namespace qvx {

// Key codes as the window toolkit gives them: the character typed for printable keys,
// the toolkit's own codes for the others.
namespace key {
constexpr int Left = 0x01000012, Right = 0x01000014;
constexpr int PageUp = 0x01000016, PageDown = 0x01000017;
constexpr int F1 = 0x01000030;
}  // namespace key

// One keyboard shortcut: the key, its name as the tooltip shows it, and the control it
// works (by name; empty for the Extras panel, which has no button of its own).
struct Shortcut {
  int key;
  const char* keyName;
  const char* control;
};

const std::vector<Shortcut>& shortcuts();

// Works the shortcut of `key`, as a key press on its control would (or a click where the
// control takes no keys). False when the key is no shortcut, or cannot act now: while a
// pop-up panel is open, while a text box holds the focus, or on a control that is not
// usable.
bool runShortcut(Scope& s, int key);

// Tooltips naming each control's shortcut, the shortcut handler, and the Tab order: the
// layout's groups in rows, top to bottom and left to right, each group's controls in the
// same reading order.
void wireShortcuts(Scope& s);
std::vector<std::string> tabOrderOf(const Panel& p);

}  // namespace qvx
