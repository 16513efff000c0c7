#pragma once
#include <functional>
#include <string>
#include <vector>

#include "panel/colour.h"

namespace qvx {

// Position and size of a control in twips (1/1440 inch), relative to its container.
struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
};

// A pointer action on a picture, at a place in the picture's own user units.
struct PointerEvent {
  enum class Kind { Press, Move, Release, Wheel };
  Kind kind = Kind::Press;
  double x = 0, y = 0;
  bool modifier = false;  // Shift or Ctrl held: a drag scrolls instead of moving a cursor
  int wheelSteps = 0;     // Wheel: notches away from the user (positive) or towards
};

// An entry of a control's context menu: its caption, whether it shows a check mark, and
// what it does.
struct MenuEntry {
  std::string caption;
  bool checked = false;
  std::function<void()> action;
};

// What every control on the panel has: a name, a place, visibility and enabled state,
// and the handlers the skin routes mouse and key events to.
struct Widget {
  enum class Kind { Button, Picture, ScrollBar, TextBox, ListBox };

  Widget(std::string n, Kind k) : name(std::move(n)), kind(k) {}
  virtual ~Widget() = default;
  Widget(const Widget&) = delete;
  Widget& operator=(const Widget&) = delete;

  std::string name;
  Kind kind;
  Widget* container = nullptr;  // a pop-up or group panel that holds this control
  Rect place;
  bool visible = true;
  bool enabled = true;
  Colour backColour = 0xC0C0C0;
  Colour foreColour = 0;
  double fontSize = 8;
  bool fontBold = false;
  std::string toolTip;   // shown when the pointer rests on the control
  bool tabStop = false;  // a picture that Tab visits too (a readout that can be typed)

  std::function<void()> onClick, onMouseDown, onMouseUp;
  std::function<void(int key)> onKeyPress;
  std::function<void(const PointerEvent&)> onPointer;
  std::vector<MenuEntry> contextMenu;

  // Shown on screen: visible itself and inside a visible container.
  bool shown() const { return visible && (!container || container->shown()); }
  // Reachable by the user: shown and enabled, its container enabled too.
  bool usable() const { return shown() && enabled && (!container || container->usable()); }

  // User actions; they do nothing on a control that cannot be used, as on screen.
  void click() {
    if (usable() && onClick) onClick();
  }
  void mouseDown() {
    if (usable() && onMouseDown) onMouseDown();
  }
  void mouseUp() {
    if (usable() && onMouseUp) onMouseUp();
  }
  void keyPress(int key) {
    if (usable() && onKeyPress) onKeyPress(key);
  }
  void pointer(const PointerEvent& e) {
    if (usable() && onPointer) onPointer(e);
  }
  // A press as the user makes it: down, up, click.
  void press() {
    mouseDown();
    mouseUp();
    click();
  }
};

struct Button : Widget {
  explicit Button(std::string n, std::string cap = {}) : Widget(std::move(n), Kind::Button) {
    caption = std::move(cap);
  }
  std::string caption;
};

struct TextBox : Widget {
  explicit TextBox(std::string n) : Widget(std::move(n), Kind::TextBox) { backColour = 0xFFFFFF; }
  std::string text;
  // An entry field: its text is selected whenever it is shown, and Enter, Escape and the
  // focus leaving it go to these handlers.
  bool selectWhenShown = false;
  std::function<void()> onEnter, onEscape, onLeave;

  void enter() {
    if (usable() && onEnter) onEnter();
  }
  void escape() {
    if (usable() && onEscape) onEscape();
  }
  void leave() {
    if (onLeave) onLeave();
  }
};

struct ListBox : Widget {
  explicit ListBox(std::string n) : Widget(std::move(n), Kind::ListBox) { backColour = 0xFFFFFF; }
  std::vector<std::string> items;
  int listIndex = -1;
};

// A horizontal scroll bar. Setting Value raises the change event synchronously when
// the value really changes, as the window toolkit does; values are kept inside Min..Max.
struct ScrollBar : Widget {
  explicit ScrollBar(std::string n) : Widget(std::move(n), Kind::ScrollBar) {}
  int Min = 0, Max = 32767, SmallChange = 1, LargeChange = 1;
  std::function<void()> onChange;

  int value() const { return value_; }
  void setValue(int v);
  void setMax(int m);
  void setMin(int m);

 private:
  int value_ = 0;
};

// A millisecond timer. The host fires it while it lets events run; enabling it or
// changing its interval starts the interval afresh.
struct Timer {
  explicit Timer(std::string n) : name(std::move(n)) {}
  std::string name;
  std::function<void()> onTimer;

  bool enabled() const { return enabled_; }
  int interval() const { return interval_; }
  void setEnabled(bool on) {
    enabled_ = on;
    restart = true;
  }
  void setInterval(int ms) {
    interval_ = ms;
    restart = true;
  }

  // Kept by the host that fires the timer.
  bool restart = true;
  double startedAt = 0;
  bool firing = false;

 private:
  bool enabled_ = false;
  int interval_ = 0;
};

// Fires every enabled timer whose interval has run out at time `now` (seconds).
void fireDueTimers(std::vector<Timer*>& timers, double now);

}  // namespace qvx
