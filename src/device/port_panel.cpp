#include "device/port_panel.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "core/remote_poll.h"
#include "device/link.h"
#include "device/port_file.h"
#include "panel/numeric.h"

namespace qvx {

namespace {

// Where the loop shows the selected port, and the line it overwrites.
constexpr double kPortX = 4670, kPortY = 1000;
constexpr double kMarginX = 830;
constexpr double kTitleY = 300, kStatusY = 1500, kReasonY = 5400;

// The panel reprints its live status every 100 ms for as long as it is open. A new text
// replaces the texts it stands for (`alternatives`, the other answers of the same line)
// printed at the same place in the same size, so the picture keeps the current one only
// and never piles them up.
void printOver(PictureArea& w, const std::string& text, bool newline,
               std::initializer_list<std::string_view> alternatives) {
  const float x = static_cast<float>(w.CurrentX), y = static_cast<float>(w.CurrentY);
  w.dropTexts([&](const DrawOp& op) {
    const bool replaced =
        op.text.size() == text.size() ||
        std::find(alternatives.begin(), alternatives.end(), op.text) != alternatives.end();
    return op.points.front().x == x && op.points.front().y == y && op.fontSize == w.fontSize &&
           replaced;
  });
  w.print(text, newline);
}

// Each explanation line sits beside its port button when the buttons have been placed.
void printButtonLine(PictureArea& w, const Button& b, double fallbackY, const std::string& text) {
  if (b.place.height > 0)
    w.printAt(b.place.left + b.place.width + 240,
              b.place.top + (b.place.height - w.textHeight()) / 2, text);
  else
    w.printAt(kMarginX + 1400, fallbackY, text);
}

void showPanel(Scope& s, const std::string& why, double& statusX, double& statusY) {
  PictureArea& w = s.panel.CONFIGWINDOW;
  w.visible = true;
  w.cls();
  w.FontTransparent = true;

  w.fontSize = 14;
  w.fontBold = true;
  w.printAt(kMarginX, kTitleY, "Parallel port selection for QVX Scope");
  w.fontBold = false;

  w.fontSize = 12;
  // The port part stands where the live selection is printed over it, whatever the
  // width of the font.
  w.printAt(kMarginX, kPortY, "QVX is currently configured for  ", false);
  w.printAt(kPortX, kPortY, "LPT" + numberText(s.LptNumber));
  w.printAt(kMarginX, kStatusY, "Status: ", false);
  statusX = w.CurrentX;
  statusY = w.CurrentY;

  w.fontSize = 10;
  printButtonLine(w, s.panel.SETLPT1, 3000,
                  "Click this if QVX is plugged into LPT1 (address 378H)");
  printButtonLine(w, s.panel.SETLPT2, 4000,
                  "Click this if QVX is plugged into LPT2 (address 278H)");
  printButtonLine(w, s.panel.SETLPT3, 5000,
                  "Click this if QVX is plugged into LPT3 (address 3BCH)");
  if (!why.empty()) w.printAt(kMarginX, kReasonY, why);
}

// The status line and the port line both tell what the last probe of the selected port
// found, so they never disagree.
void showStatus(PictureArea& w, double statusX, double statusY, bool found) {
  w.fontSize = 12;
  w.FontTransparent = false;
  w.CurrentX = statusX;
  w.CurrentY = statusY;
  printOver(w, found ? " FOUND " : " NOT FOUND ", true, {" FOUND ", " NOT FOUND "});
}

void showSelection(Scope& s, double statusX, double statusY) {
  PictureArea& w = s.panel.CONFIGWINDOW;
  w.fontSize = 12;
  w.FontTransparent = false;
  w.CurrentX = kPortX;
  w.CurrentY = kPortY;
  printOver(w, " LPT" + numberText(s.LptNumber) + " ", false, {});
  initport(s);
  printOver(w, s.ModelCode != 0 ? "  >>FOUND<<   " : "  NOT FOUND ", true,
            {"  >>FOUND<<   ", "  NOT FOUND "});
  showStatus(w, statusX, statusY, s.ModelCode != 0);
}

}  // namespace

void Checkconfig(Scope& s) {
  bool good = true;
  std::string why;
  if (!s.host.FileExists(kPortFileName)) {
    good = false;
    why = "Opened because there is no port file (QVXport.cfg).";
  } else if (std::optional<int> n = readPortFile(kPortFileName)) {
    s.LptNumber = *n;
    if (s.LptNumber < 1 || s.LptNumber > 3) good = false;
  } else {
    good = false;
  }
  if (!good && why.empty())
    why = "Opened because the port file (QVXport.cfg) names no port 1 to 3.";
  if (!good) Configport(s, why);
}

std::string nothingAnsweredOn(int lpt) {
  return "Opened because nothing answered on LPT" + plainNumber(lpt) + ".";
}

// Runs until EXIT, probing the selected port every 100 ms so the status follows the
// cable and the port buttons. It also ends if the window is closed meanwhile, which
// would otherwise leave the program waiting on a panel nobody can see.
void Configport(Scope& s, const std::string& why) {
  PictureArea& w = s.panel.CONFIGWINDOW;
  s.ConfigExitReq = 0;
  holdRemotePoll(s);

  double statusX = 0, statusY = 0;
  showPanel(s, why, statusX, statusY);

  initport(s);
  showStatus(w, statusX, statusY, s.ModelCode != 0);

  s.ConfigShownPort = s.LptNumber;
  s.ConfigWriteFlag = 1;

  while (s.ConfigExitReq != 1 && !s.unloaded) {
    s.host.DoEvents();
    if (s.LptNumber != s.ConfigShownPort) {
      s.ConfigWriteFlag = 1;
      s.ConfigShownPort = s.LptNumber;
    }
    s.host.Sleep(100);
    showSelection(s, statusX, statusY);
    s.host.DoEvents();
  }

  if (s.ConfigWriteFlag == 1) writePortFile(kPortFileName, s.LptNumber);
  w.FontTransparent = true;
  w.visible = false;
  resumeRemotePoll(s);
}

void SETUP_Click(Scope& s) {
  Configport(s);
}
void SETLPT1_Click(Scope& s) {
  s.LptNumber = 1;
}
void SETLPT2_Click(Scope& s) {
  s.LptNumber = 2;
}
void SETLPT3_Click(Scope& s) {
  s.LptNumber = 3;
}
void CONFIGEXIT_Click(Scope& s) {
  s.ConfigExitReq = 1;
}

}  // namespace qvx
