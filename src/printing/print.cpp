#include "printing/print.h"

#include "display/render.h"
#include "display/settings.h"

namespace qvx {

namespace {

constexpr Colour kBlue = 0xFF0000;
constexpr double kChoiceX = 4000;
constexpr double kSignalY = 1900, kLandscapeY = 3450, kPortraitY = 5050, kExitY = 6650;
// The menu waits for a click; between looks it lets the window sleep a little rather
// than spin.
constexpr int kMenuPollMs = 10;

void line(PictureArea& w, double x, double y, double size, const std::string& text) {
  w.fontSize = size;
  w.printAt(x, y, text);
}

void showMenu(Scope& s) {
  PictureArea& w = s.panel.printwindow;
  w.cls();
  w.visible = true;
  w.foreColour = kBlue;
  w.fontBold = false;
  const std::string destination =
      s.printer.destination ? s.printer.destination() : "nowhere: this program has no window";
  line(w, 4000, 350, 18, "Print Function Menu");
  line(w, 2800, 800, 11, "The printout will be directed to " + destination);
  w.CurrentX = 2650;
  w.fontSize = 9;
  // The way to print to a file is offered only to those who did not choose one.
  w.print(s.printer.toChosenFile
              ? "(The file was chosen when the program was started; each print replaces it)"
              : "(Set the default printer in your system's printer settings, or start the "
                "program with --print-to=FILE.pdf)");
  line(w, kChoiceX, kSignalY, 11, "Click this to print the Signal Display Area only");
  line(w, kChoiceX, kLandscapeY, 11,
       "Click this to print the whole Scope display in Landscape format");
  line(w, kChoiceX, kPortraitY, 11,
       "Click this to print the whole Scope display in Portrait format");
}

void hideMathPositionButtons(Scope& s) {
  if (s.MathMagIndex > 0) s.panel.Scrollup.visible = s.panel.scrolldown.visible = false;
}

void noPrinter(Scope& s) {
  s.host.MsgBox("Nothing was printed: printing needs the program's window.", mb::OK, "Print");
}

void printWholeWindow(Scope& s) {
  s.PrintActive = 1;
  HScroll1_Change(s);
  s.PrintSignalChoice = 0;
  s.panel.printwindow.visible = false;
  hideMathPositionButtons(s);
  s.host.DoEvents();
  if (s.printer.window)
    s.printer.window(s.PrintWholeChoice == 2);
  else
    noPrinter(s);
}

void printSignalDisplay(Scope& s) {
  s.PrintWholeChoice = 0;
  s.PrintSignalChoice = 0;
  s.panel.printwindow.visible = false;
  s.PrintActive = 1;
  hideMathPositionButtons(s);
  s.host.DoEvents();
  HScroll1_Change(s);
  if (s.printer.signalDisplay)
    s.printer.signalDisplay(kSignalPrintWidth);
  else
    noPrinter(s);
}

}  // namespace

void printscope(Scope& s) {
  s.PrintExit = 0;
  showMenu(s);
  while (s.PrintExit != 1 && !s.unloaded) {
    s.host.DoEvents();
    if (s.PrintSignalChoice == 1) {
      printSignalDisplay(s);
      break;
    }
    if (s.PrintWholeChoice > 0) {
      printWholeWindow(s);
      break;
    }
    if (s.PrintExit != 1) s.host.Sleep(kMenuPollMs);
  }
  s.PrintActive = 0;
  s.PrintWholeChoice = 0;
  s.PrintSignalChoice = 0;
  s.panel.printwindow.visible = false;
  SDISPLAY(s);
  HScroll1_Change(s);
}

void Printform_Click(Scope& s) {
  s.PrintWholeChoice = 1;
}
void PrintformPort_Click(Scope& s) {
  s.PrintWholeChoice = 2;
}
void Printsignal_Click(Scope& s) {
  s.PrintSignalChoice = 1;
}
void exitprint_Click(Scope& s) {
  s.PrintExit = 1;
}

void layOutPrintMenu(Panel& p) {
  const std::pair<Button*, double> rows[] = {{&p.Printsignal, kSignalY},
                                             {&p.Printform, kLandscapeY},
                                             {&p.PrintformPort, kPortraitY},
                                             {&p.exitprint, kExitY}};
  for (const auto& [button, y] : rows) {
    button->place = {1000, static_cast<int>(y) - 150, 2600, 560};
    button->fontSize = 10;
    button->fontBold = true;
  }
}

void wirePrintMenu(Scope& s) {
  Panel& p = s.panel;
  p.Printsignal.onClick = [&s] { Printsignal_Click(s); };
  p.Printform.onClick = [&s] { Printform_Click(s); };
  p.PrintformPort.onClick = [&s] { PrintformPort_Click(s); };
  p.exitprint.onClick = [&s] { exitprint_Click(s); };
}

}  // namespace qvx
