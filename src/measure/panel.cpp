#include "measure/panel.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "display/render.h"
#include "measure/channels.h"
#include "measure/format.h"

namespace qvx {

namespace {

constexpr int kFft = 4;
constexpr int kPanelWidth = 3600;
constexpr int kRow = 250, kTop = 40, kLeft = 60, kLabelWidth = 720;
constexpr int kPeaks = 5;
constexpr int kMinWidth = 256;  // the X-magnify bar's narrowest window, scroll units

// The channel names in the colours the readout over the display prints them in.
Colour channelColour(const Scope& s, int channel) {
  static constexpr Colour kOthers[] = {0, 0x00A000, 0, 0x2070D0};
  if (channel == 0) return s.TraceColour[0];
  if (channel == 2) return s.TraceColour[4];
  return kOthers[channel];
}

std::vector<int> shownChannels(const Scope& s) {
  std::vector<int> shown;
  const int sel[] = {s.SelA, s.SelB, s.SelC, s.SelD};
  for (int c = 0; c < 4; ++c)
    if (sel[c] == 1 && (s.OperatingMode != kFft || c < 2)) shown.push_back(c);
  return shown;
}

struct Table {
  PictureArea& p;
  std::vector<int> channels;
  double columnWidth;
  int row = 0;

  double columnX(std::size_t i) const {
    return kLeft + kLabelWidth + columnWidth * static_cast<double>(i);
  }
  double y() const { return kTop + row * kRow; }
  void label(const std::string& text) {
    p.foreColour = 0;
    p.printAt(kLeft, y(), text);
  }
  void cell(std::size_t column, const std::string& text, Colour colour = 0) {
    p.foreColour = colour;
    p.printAt(columnX(column), y(), text);
  }
};

void drawHeader(Scope& s, Table& t, const char* title) {
  t.p.fontBold = true;
  t.label(title);
  for (std::size_t i = 0; i < t.channels.size(); ++i)
    t.cell(i, std::string("CH ") + measure::kChannelNames[t.channels[i]],
           channelColour(s, t.channels[i]));
  t.p.fontBold = false;
  ++t.row;
}

void drawWaveRows(Scope& s, Table& t) {
  std::vector<measure::WaveReadings> readings;
  for (int c : t.channels)
    readings.push_back(measure::measureWave(measure::traceOf(s, measure::shownData(s), c)));
  for (const measure::Quantity& q : measure::quantities()) {
    t.label(q.caption);
    for (std::size_t i = 0; i < t.channels.size(); ++i) {
      if (t.channels[i] >= 2 && !q.digitalToo) {
        t.cell(i, "-");
        continue;
      }
      const measure::Reading& r = readings[i].*q.reading;
      if (r.ok())
        t.cell(i, measure::engineering(r.value, q.unit));
      else
        t.cell(i, r.why, 0x000080);
    }
    ++t.row;
  }
}

void drawPeakRows(Scope& s, Table& t) {
  std::vector<std::vector<measure::Peak>> peaks;
  for (int c : t.channels)
    peaks.push_back(measure::spectrumPeaks(s, measure::shownData(s), c, kPeaks));
  std::size_t rows = 0;
  for (const auto& found : peaks) rows = std::max(rows, found.size());
  if (rows == 0) t.label("no peak above 1 %");
  for (std::size_t k = 0; k < rows; ++k) {
    t.label("Peak " + std::to_string(k + 1));
    for (std::size_t i = 0; i < t.channels.size(); ++i)
      t.cell(i, k < peaks[i].size() ? measure::engineering(peaks[i][k].frequency, "Hz") : "-");
    ++t.row;
    t.label("  level");
    for (std::size_t i = 0; i < t.channels.size(); ++i)
      t.cell(i, k < peaks[i].size() ? measure::engineering(peaks[i][k].level, "%") : "-");
    ++t.row;
  }
}

void drawCursorRows(Scope& s, Table& t) {
  ++t.row;
  t.p.fontBold = true;
  t.label("Cursors");
  t.p.fontBold = false;
  ++t.row;
  if (s.CursorSel == 0 || s.OperatingMode == kFft) {
    t.label("choose a channel with CURSOR");
    return;
  }
  const double points = std::fabs(s.Cursor2X - s.CursorX);
  const double dt = points / measure::sampleRate(s, measure::shownData(s), 0);
  t.label("\u0394t");
  t.cell(0, measure::engineering(dt, "s"));
  ++t.row;
  t.label("1/\u0394t");
  t.cell(0, dt > 0 ? measure::engineering(1 / dt, "Hz") : "-");
  ++t.row;
  t.label("\u0394V");
  const auto first = static_cast<std::int32_t>(std::lround(s.ViewFirst + s.CursorX));
  const auto second = static_cast<std::int32_t>(std::lround(s.ViewFirst + s.Cursor2X));
  for (std::size_t i = 0; i < t.channels.size(); ++i) {
    const int c = t.channels[i];
    if (c >= 2) {
      t.cell(i, "-");
      continue;
    }
    const double dv = measure::voltsAt(s, c, second) - measure::voltsAt(s, c, first);
    t.cell(i, measure::engineering(dv, "V"));
  }
}

void drawSecondCursor(Scope& s) {
  if (s.CursorSel == 0) return;
  s.Cursor2X = std::clamp(s.Cursor2X, 0.0, std::max(0.0, s.ViewPoints - 1));
  PictureArea& screen = s.panel.ScopeScreen;
  const DrawStyle style = screen.drawStyle;
  screen.drawStyle = DrawStyle::Dotted;
  screen.line(s.Cursor2X, 0, s.Cursor2X, 4096, s.CursorColour);
  screen.drawStyle = style;
}

// The window width in scroll units after `steps` wheel notches, each halving or
// doubling it, kept inside the X-magnify bar's range.
int zoomedWidth(const ScrollBar& bar, int width, int steps) {
  const double w = width * std::pow(2.0, -steps);
  return static_cast<int>(std::clamp(
      std::lround(w), static_cast<long>(std::max(bar.Min, kMinWidth)), static_cast<long>(bar.Max)));
}

void wheelZoom(Scope& s, const PointerEvent& e) {
  ScrollBar& widthBar = s.panel.HScroll2;
  const int width = zoomedWidth(widthBar, s.ViewWidth, e.wheelSteps);
  if (width == s.ViewWidth) return;
  // The buffer point under the pointer stays under it.
  const double share = std::clamp(e.x / std::max(1.0, 2.0 * s.ViewWidth), 0.0, 1.0);
  const double point = s.ViewFirst + e.x;
  const int start = static_cast<int>(std::lround((point - share * 2.0 * width) / 2));
  widthBar.setValue(width);
  s.panel.HScroll1.setValue(std::clamp(start, s.panel.HScroll1.Min, s.panel.HScroll1.Max));
}

double onScreen(const Scope& s, double x) {
  return std::clamp(std::round(x), 0.0, std::max(0.0, s.ViewPoints - 1));
}

void moveHeldCursor(Scope& s, double x) {
  (s.PointerCursor == 2 ? s.Cursor2X : s.CursorX) = onScreen(s, x);
  HScroll1_Change(s);
}

}  // namespace

void layOutMeasurements(Panel& p) {
  const Rect& screen = p.ScopeScreen.place;
  p.MeasPanel.place = {screen.left + screen.width - kPanelWidth, screen.top, kPanelWidth,
                       screen.height};
  p.MeasPanel.backColour = 0xF0F0F0;
  p.MeasPanel.fontSize = 7;
  p.MeasPanel.visible = false;
  p.MeasPanel.toolTip = "Measurements of the shown channels and the two cursors (M)";
  p.ScopeScreen.toolTip =
      "Click: place the nearer cursor, drag: move it; Shift+drag: scroll; wheel: zoom; "
      "right click: menu";
}

void showMeasurements(Scope& s, bool open) {
  Panel& p = s.panel;
  const int full = p.CURSINFO.place.width;
  s.MeasPanelOpen = open ? 1 : 0;
  p.MeasPanel.visible = open;
  p.ScopeScreen.place.width = open ? full - kPanelWidth : full;
  if (!p.ScopeScreen.contextMenu.empty()) p.ScopeScreen.contextMenu.front().checked = open;
  s.host.Settings().setValue(kMeasurementsSetting, open ? "1" : "0");
  if (open) s.Cursor2X = onScreen(s, s.CursorX + s.ViewPoints / 4);
  HScroll1_Change(s);
  if (!open) p.MeasPanel.cls();
}

void restoreMeasurements(Scope& s) {
  if (s.host.Settings().value(kMeasurementsSetting) == "1") showMeasurements(s, true);
}

void MeasPanel_Toggle(Scope& s) {
  showMeasurements(s, s.MeasPanelOpen != 1);
}

void drawMeasurements(Scope& s) {
  if (s.MeasPanelOpen != 1) return;
  drawSecondCursor(s);
  PictureArea& p = s.panel.MeasPanel;
  p.cls();
  Table t{p, shownChannels(s), 0};
  t.columnWidth = (p.place.width - kLeft - kLabelWidth) / std::max<double>(1, t.channels.size());
  if (t.channels.empty()) {
    t.label("no channel shown");
    return;
  }
  if (s.OperatingMode == kFft) {
    drawHeader(s, t, "Spectrum");
    drawPeakRows(s, t);
    return;
  }
  drawHeader(s, t, "Measured");
  drawWaveRows(s, t);
  drawCursorRows(s, t);
}

void ScopeScreen_Pointer(Scope& s, const PointerEvent& e) {
  switch (e.kind) {
    case PointerEvent::Kind::Wheel:
      wheelZoom(s, e);
      return;
    case PointerEvent::Kind::Press:
      if (e.modifier) {
        s.PointerScrolling = 1;
        s.PointerStartX = e.x;
        s.PointerStartView = s.ViewStart;
        return;
      }
      if (s.CursorSel == 0) return;
      s.PointerCursor =
          s.MeasPanelOpen == 1 && std::fabs(e.x - s.Cursor2X) < std::fabs(e.x - s.CursorX) ? 2 : 1;
      moveHeldCursor(s, e.x);
      return;
    case PointerEvent::Kind::Move:
      if (s.PointerScrolling == 1) {
        // The trace follows the pointer: dragging right shows earlier points.
        const int start =
            s.PointerStartView - static_cast<int>(std::lround((e.x - s.PointerStartX) / 2));
        s.panel.HScroll1.setValue(std::clamp(start, s.panel.HScroll1.Min, s.panel.HScroll1.Max));
      } else if (s.PointerCursor != 0) {
        moveHeldCursor(s, e.x);
      }
      return;
    case PointerEvent::Kind::Release:
      s.PointerCursor = 0;
      s.PointerScrolling = 0;
      return;
  }
}

void wireMeasurements(Scope& s) {
  Panel& p = s.panel;
  s.afterRedraw.push_back(drawMeasurements);
  p.ScopeScreen.onPointer = [&s](const PointerEvent& e) { ScopeScreen_Pointer(s, e); };
  p.ScopeScreen.contextMenu = {{"Measurements\tM", false, [&s] { MeasPanel_Toggle(s); }}};
  p.shortcuts.push_back({'M', [&s] { MeasPanel_Toggle(s); }});
}

}  // namespace qvx
