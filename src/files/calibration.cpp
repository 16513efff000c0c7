#include "files/calibration.h"

#include <algorithm>
#include <cstdio>

#include "core/plain_file.h"
#include "core/remote_poll.h"
#include "display/render.h"
#include "files/file_text.h"
#include "files/safe_write.h"
#include "panel/numeric.h"

namespace qvx {

namespace {

constexpr double kGainMin = 0.9, kGainMax = 1.1, kGainStep = 0.01;
constexpr double kOffsetPanelLimit = 50, kOffsetFileLimit = 30;
constexpr int kPreDelayMin = 1, kPreDelayMax = 10;
// Sums of 0.01 steps miss 0.9 and 1.1 by the last bit; the limits hold them anyway.
constexpr double kSlack = 1e-9;

constexpr Colour kReadout = 0xC0FFFF;

void placeIn(Widget& w, int left, int top, int width, int height) {
  w.place = {left, top, width, height};
}

void showValue(PictureArea& box, const std::string& text) {
  box.cls();
  box.CurrentX = 60;
  box.CurrentY = 40;
  box.print(text);
}

void refreshOnChange(Scope& s, bool changed) {
  if (changed) UtilButton_Click(s);
}

bool stepGain(double& gain, double step) {
  if (step > 0 ? gain >= kGainMax - kSlack : gain <= kGainMin + kSlack) return false;
  gain += step;
  return true;
}

bool stepOffset(double& offset, int step) {
  if (step > 0 ? offset >= kOffsetPanelLimit : offset <= -kOffsetPanelLimit) return false;
  offset += step;
  return true;
}

// Row layout of the panel, in twips inside UtilBox.
constexpr int kLabelX = 300, kDownX = 3400, kValueX = 3850, kUpX = 5150;
constexpr int kRowHeight = 360, kFirstRow = 800, kRowPitch = 500;

int rowTop(int row) {
  return kFirstRow + row * kRowPitch;
}

}  // namespace

std::string gainText(double gain) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.15g", gain);
  std::string text = buf;
  if (gain == 1) text += ".";
  text += "00";
  return text.substr(0, 4) + "     ";
}

std::string calibrationText(const CalibrationState& s) {
  std::string out;
  for (double v : {s.CalGainA, s.CalGainB, s.CalOffsetA, s.CalOffsetB})
    out += fileNumber(v) + "\r\n";
  return out;
}

std::optional<Calibration> parseCalibration(std::string_view text) {
  const auto items = listItems(text, 4);
  if (items.size() < 4) return std::nullopt;
  double v[4];
  for (int i = 0; i < 4; ++i) {
    std::optional<double> n = wholeNumber(items[i]);
    if (!n) return std::nullopt;
    v[i] = *n;
  }
  Calibration c{v[0], v[1], static_cast<double>(roundHalfEven(v[2])),
                static_cast<double>(roundHalfEven(v[3]))};
  for (double* gain : {&c.gainA, &c.gainB})
    if (*gain > kGainMax + kSlack || *gain < kGainMin - kSlack) *gain = 1;
  for (double* offset : {&c.offsetA, &c.offsetB})
    if (*offset > kOffsetFileLimit || *offset < -kOffsetFileLimit) *offset = 0;
  return c;
}

void CheckCal(CalibrationState& s) {
  const auto text = readPlainFile(kCalibrationFile, 4096);
  applyCalibration(s, text ? parseCalibration(*text) : std::nullopt);
}

void applyCalibration(CalibrationState& s, const std::optional<Calibration>& decoded) {
  const Calibration c = decoded.value_or(Calibration{});
  s.CalGainA = c.gainA;
  s.CalGainB = c.gainB;
  s.CalOffsetA = c.offsetA;
  s.CalOffsetB = c.offsetB;
}

void SaveCal(Scope& s) {
  if (!replaceFileWhole(kCalibrationFile, calibrationText(s))) helpMessage(s, kUnableToSave);
}

void UtilBoxSetup(Scope& s) {
  Panel& p = s.panel;
  PictureArea& box = p.UtilBox;
  placeIn(box, 1950, 420, 8000, 4500);
  box.backColour = 0xD8D8D8;
  box.fontSize = 10;
  box.visible = false;
  box.cls();
  box.fontBold = true;
  box.fontSize = 12;
  box.printAt(kLabelX, 200, "ADJUSTMENTS");
  box.fontBold = false;
  box.fontSize = 10;

  struct Row {
    const char* label;
    Button* down;
    PictureArea* value;
    Button* up;
  };
  const Row rows[] = {{"Channel A gain", &p.CAGainDn, &p.CAGainVal, &p.CAGainUp},
                      {"Channel B gain", &p.CBGainDn, &p.CBGainVal, &p.CBGainUp},
                      {"Channel A offset (codes)", &p.CAOffDn, &p.CAOffVal, &p.CAOffUp},
                      {"Channel B offset (codes)", &p.CBOffDn, &p.CBOffVal, &p.CBOffUp},
                      {"SCOPE+GEN pre-delay", &p.DACADCdeldn, &p.DACADCdelaywin, &p.DACADCdelup}};
  int row = 0;
  for (const Row& r : rows) {
    const int top = rowTop(row++);
    box.printAt(kLabelX, top + 60, r.label);
    placeIn(*r.down, kDownX, top, 400, kRowHeight);
    placeIn(*r.value, kValueX, top, 1250, kRowHeight);
    placeIn(*r.up, kUpX, top, 400, kRowHeight);
    for (Button* b : {r.down, r.up}) {
      b->fontSize = 12;
      b->fontBold = true;
    }
    r.value->backColour = kReadout;
    r.value->fontSize = 10;
  }

  const int cursorTop = rowTop(row++);
  box.printAt(kLabelX, cursorTop + 60, "Cursor time reference");
  placeIn(p.Cursxwinsel, kDownX, cursorTop, 1000, kRowHeight);
  p.Cursxwinsel.caption = "Change";
  p.Cursxwinsel.fontSize = 9;
  placeIn(p.Cursxwindow, kDownX + 1050, cursorTop, 3300, kRowHeight);
  p.Cursxwindow.backColour = kReadout;
  p.Cursxwindow.fontSize = 10;

  const int remoteTop = rowTop(row++);
  box.printAt(kLabelX, remoteTop + 60, "Remote command file prefix");
  placeIn(p.RemoteName, kDownX, remoteTop, 2150, kRowHeight);
  p.RemoteName.fontSize = 10;

  placeIn(p.UtilExit, 6300, 3850, 1400, 450);
  p.UtilExit.fontSize = 10;
  p.UtilExit.fontBold = true;
}

// Opens the panel or shows its new values. The prefix box is filled only when the panel
// opens, so text the user is typing survives a press of another button.
void UtilButton_Click(Scope& s) {
  Panel& p = s.panel;
  holdRemotePoll(s);
  if (!p.UtilBox.visible) p.RemoteName.text = s.RemotePrefix;
  p.UtilBox.visible = true;
  showValue(p.CAGainVal, gainText(s.CalGainA));
  showValue(p.CBGainVal, gainText(s.CalGainB));
  showValue(p.CAOffVal, numberText(s.CalOffsetA));
  showValue(p.CBOffVal, numberText(s.CalOffsetB));
  showValue(p.DACADCdelaywin, plainNumber(s.StepPreDelay) + " sec");
  showValue(p.Cursxwindow,
            s.CursorAbsolute == 1 ? "relative to 1st data pt" : "relative to display");
}

void UtilExit_Click(Scope& s) {
  Panel& p = s.panel;
  SaveCal(s);
  s.RemotePrefix = p.RemoteName.text;
  p.UtilBox.visible = false;
  s.host.DoEvents();
  HScroll2_Change(s);
  p.focus = p.FFTbutton.name;
  resumeRemotePoll(s);
}

void setAdjustment(Scope& s, Adjustment which, double value) {
  auto onGrid = [](double v, double low, double high, double step) {
    return static_cast<double>(roundHalfEven(std::clamp(v, low, high) / step)) * step;
  };
  switch (which) {
    case Adjustment::GainA:
      s.CalGainA = onGrid(value, kGainMin, kGainMax, kGainStep);
      break;
    case Adjustment::GainB:
      s.CalGainB = onGrid(value, kGainMin, kGainMax, kGainStep);
      break;
    case Adjustment::OffsetA:
      s.CalOffsetA = onGrid(value, -kOffsetPanelLimit, kOffsetPanelLimit, 1);
      break;
    case Adjustment::OffsetB:
      s.CalOffsetB = onGrid(value, -kOffsetPanelLimit, kOffsetPanelLimit, 1);
      break;
    case Adjustment::PreDelay:
      s.StepPreDelay = onGrid(value, kPreDelayMin, kPreDelayMax, 1);
      break;
  }
  UtilButton_Click(s);
}

void CAGainUp_Click(Scope& s) {
  refreshOnChange(s, stepGain(s.CalGainA, kGainStep));
}
void CAGainDn_Click(Scope& s) {
  refreshOnChange(s, stepGain(s.CalGainA, -kGainStep));
}
void CBGainUp_Click(Scope& s) {
  refreshOnChange(s, stepGain(s.CalGainB, kGainStep));
}
void CBGainDn_Click(Scope& s) {
  refreshOnChange(s, stepGain(s.CalGainB, -kGainStep));
}
void CAOffUp_Click(Scope& s) {
  refreshOnChange(s, stepOffset(s.CalOffsetA, 1));
}
void CAOffDn_Click(Scope& s) {
  refreshOnChange(s, stepOffset(s.CalOffsetA, -1));
}
void CBOffUp_Click(Scope& s) {
  refreshOnChange(s, stepOffset(s.CalOffsetB, 1));
}
void CBOffDn_Click(Scope& s) {
  refreshOnChange(s, stepOffset(s.CalOffsetB, -1));
}
void DACADCdelup_Click(Scope& s) {
  if (s.StepPreDelay >= kPreDelayMax) return;
  s.StepPreDelay += 1;
  UtilButton_Click(s);
}
void DACADCdeldn_Click(Scope& s) {
  if (s.StepPreDelay <= kPreDelayMin) return;
  s.StepPreDelay -= 1;
  UtilButton_Click(s);
}
void Cursxwinsel_Click(Scope& s) {
  s.CursorAbsolute = 1 - s.CursorAbsolute;
  UtilButton_Click(s);
}

}  // namespace qvx
