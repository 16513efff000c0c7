#include "control/shortcuts.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "control/extras.h"

namespace qvx {

namespace {

// Controls closer than this in height stand in one row of the layout.
constexpr int kRowTolerance = 300;

bool popUpOpen(const Panel& p) {
  for (const PictureArea* w : {&p.fileloadwindow, &p.filesavewindow, &p.printwindow, &p.helpwindow,
                               &p.CONFIGWINDOW, &p.Filesavefrec, &p.UtilBox})
    if (w->shown()) return true;
  return false;
}

bool typing(const Panel& p) {
  const Widget* w = p.find(p.focus);
  return w && w->kind == Widget::Kind::TextBox && w->shown();
}

bool focusable(const Widget& w) {
  return (w.kind != Widget::Kind::Picture || w.tabStop) && w.place.width > 0 && w.place.height > 0;
}

bool inside(const Rect& inner, const Rect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top &&
         inner.left + inner.width <= outer.left + outer.width &&
         inner.top + inner.height <= outer.top + outer.height;
}

// The top-level picture box a top-level control stands on, if any.
const Widget* boxUnder(const Panel& p, const Widget& w) {
  for (const Widget* box : p.controls)
    if (box != &w && !box->container && box->kind == Widget::Kind::Picture && box->visible &&
        inside(w.place, box->place))
      return box;
  return nullptr;
}

// Reading order: rows top to bottom, then left to right.
bool readsBefore(const Widget* a, const Widget* b) {
  if (std::abs(a->place.top - b->place.top) > kRowTolerance) return a->place.top < b->place.top;
  return a->place.left < b->place.left;
}

std::string captionWithKey(const std::string& what, const std::vector<const char*>& keys) {
  std::string text = what + " (";
  for (std::size_t i = 0; i < keys.size(); ++i) text += (i ? " or " : "") + std::string(keys[i]);
  return text + ")";
}

}  // namespace

const std::vector<Shortcut>& shortcuts() {
  static const std::vector<Shortcut> table = {
      {' ', "Space", "GOBUTTON"},
      {'g', "G", "GOBUTTON"},
      {'r', "R", "TRESETBUTTON"},
      {key::PageUp, "Page Up", "SmodeUP"},
      {key::PageDown, "Page Down", "SmodeDown"},
      {']', "]", "SRATEP"},
      {'[', "[", "SRATEN"},
      {'}', "}", "SSIZEP"},
      {'{', "{", "SSIZEN"},
      {key::Right, "Right", "Command27"},
      {key::Left, "Left", "Command26"},
      {'l', "L", "fileloadbutton"},
      {'s', "S", "filesavebutton"},
      {'p', "P", "Command1"},
      {'h', "H", "helpbutton"},
      {key::F1, "F1", "helpbutton"},
      {'u', "U", "UtilButton"},
      {'t', "T", "SETUP"},
      {'x', "X", ""},
  };
  return table;
}

bool runShortcut(Scope& s, int key) {
  Panel& p = s.panel;
  if (popUpOpen(p) || typing(p)) return false;
  if (key >= 'A' && key <= 'Z') key += 'a' - 'A';
  for (const Shortcut& sc : shortcuts()) {
    if (sc.key != key) continue;
    if (!*sc.control) {
      toggleExtras(s);
      return true;
    }
    Widget* w = p.find(sc.control);
    if (!w || !w->usable()) return false;
    if (w->onKeyPress)
      w->keyPress(key);
    else
      w->click();
    return true;
  }
  return false;
}

std::vector<std::string> tabOrderOf(const Panel& p) {
  // Units of the layout: controls standing on their own, and group panels with theirs.
  std::vector<const Widget*> units;
  std::map<const Widget*, std::vector<const Widget*>> members;
  for (const Widget* w : p.controls) {
    if (!focusable(*w)) continue;
    const Widget* group = w->container;
    while (group && group->container) group = group->container;
    // A control standing on a box of its own group without being held by it (the mode
    // box's buttons) belongs to that box all the same.
    if (!group) group = boxUnder(p, *w);
    if (!group) {
      units.push_back(w);
      continue;
    }
    if (members[group].empty()) units.push_back(group);
    members[group].push_back(w);
  }
  std::stable_sort(units.begin(), units.end(), readsBefore);
  std::vector<std::string> order;
  for (const Widget* u : units) {
    auto it = members.find(u);
    if (it == members.end()) {
      order.push_back(u->name);
      continue;
    }
    // Inside a group, nested boxes keep their own places: compare in the group's terms.
    std::vector<const Widget*> inner = it->second;
    auto placeIn = [u](const Widget* w) {
      Rect r = w->place;
      for (const Widget* c = w->container; c && c != u; c = c->container) {
        r.left += c->place.left;
        r.top += c->place.top;
      }
      return std::tuple{r.top, r.left};
    };
    std::stable_sort(inner.begin(), inner.end(), [&](const Widget* a, const Widget* b) {
      auto [at, al] = placeIn(a);
      auto [bt, bl] = placeIn(b);
      if (std::abs(at - bt) > kRowTolerance) return at < bt;
      return al < bl;
    });
    for (const Widget* w : inner) order.push_back(w->name);
  }
  return order;
}

void wireShortcuts(Scope& s) {
  Panel& p = s.panel;
  std::map<std::string, std::vector<const char*>> keysOf;
  for (const Shortcut& sc : shortcuts())
    if (*sc.control) keysOf[sc.control].push_back(sc.keyName);
  const std::map<std::string, std::string> what = {
      {"GOBUTTON", "GO / STOP"},
      {"TRESETBUTTON", "Single / Repeat"},
      {"SmodeUP", "Next mode"},
      {"SmodeDown", "Previous mode"},
      {"SRATEP", "Faster sample rate"},
      {"SRATEN", "Slower sample rate"},
      {"SSIZEP", "Larger buffer"},
      {"SSIZEN", "Smaller buffer"},
      {"Command27", "Cursor right"},
      {"Command26", "Cursor left"},
      {"fileloadbutton", "Load panel"},
      {"filesavebutton", "Save panel"},
      {"Command1", "Print menu"},
      {"helpbutton", "Help pages"},
      {"UtilButton", "Adjustments (calibration, pre-delay)"},
      {"SETUP", "Printer port"}};
  for (const auto& [name, keys] : keysOf)
    if (Widget* w = p.find(name)) w->toolTip = captionWithKey(what.at(name), keys);
  p.onShortcut = [&s](int key) { return runShortcut(s, key); };
}

}  // namespace qvx
