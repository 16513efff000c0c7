#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "core/place_chooser.h"
#include "core/remote_poll.h"
#include "counter/recorder.h"
#include "panel/numeric.h"

namespace qvx {

namespace {
namespace fs = std::filesystem;

constexpr int kLoopMs = 20;
constexpr Colour kTitleBlue = 0xFF0000;

void place(Widget& w, int left, int top, int width, int height, double font) {
  w.place = {left, top, width, height};
  w.fontSize = font;
}

void drawPanel(Scope& s) {
  Panel& p = s.panel;
  PictureArea& w = p.Filesavefrec;
  w.cls();
  w.fontBold = true;
  w.foreColour = kTitleBlue;
  w.fontSize = 18;
  w.printAt(600, 300, "Frequency recorder file saving");
  w.foreColour = 0;
  w.fontSize = 10;
  w.printAt(600, 1000, "Select Drive/Directory/File and click button to save");
  w.printAt(600, 1560, "Type in File Name to save >>");
  w.printAt(600, 2200, "Drive selection");
  w.printAt(3500, 2200, "Directory selection");
  w.printAt(7400, 2200, "File selection");
  w.printAt(600, 6500, "Frequency save interval (sec)");
  w.fontBold = false;
  w.printAt(600, 6800, "   (3 to 9999 secs)");
  w.printAt(600, 7100, "   (0 to disable recording)");

  place(p.Frecname, 4000, 1500, 3600, 380, 10);
  place(p.FrecDrive, 600, 2500, 2700, 3800, 9);
  place(p.FrecDirPath, 3500, 2500, 7500, 330, 9);
  p.FrecDirPath.backColour = 0xFFFFFF;
  place(p.FrecDirList, 3500, 2900, 3700, 3400, 9);
  place(p.FrecFileList, 7400, 2900, 3600, 3400, 9);
  place(p.Frectimerx, 4000, 6440, 1200, 380, 10);
  place(p.Command32, 9400, 7100, 1600, 500, 10);
  p.Command32.fontBold = true;
}

FolderLists recorderLists(Scope& s) {
  Panel& p = s.panel;
  return {p.FrecDrive,  p.FrecDirPath, p.FrecDirList, p.FrecFileList,
          s.FRecFolder, s.FRecPlaces,  {"csv"}};
}

// The place, folder and file lists of the chosen folder, as the save panel shows them.
void listFolder(Scope& s) {
  showFolder(s.host, recorderLists(s));
  drawPanel(s);
}

}  // namespace

void FrecDrive_Click(Scope& s) {
  placeChosen(s.host, recorderLists(s));
  drawPanel(s);
}

void FrecDirList_Click(Scope& s) {
  folderChosen(s.host, recorderLists(s));
  drawPanel(s);
}

void FrecFileList_Click(Scope& s) {
  const ListBox& list = s.panel.FrecFileList;
  if (list.listIndex >= 0 && list.listIndex < static_cast<int>(list.items.size()))
    s.panel.Frecname.text = list.items[list.listIndex];
}

void Command32_Click(Scope& s) {
  s.SavePanelDone = 1;
}

namespace {

std::string startDate() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::snprintf(text, sizeof text, "%02d-%02d-%04d", local.tm_mon + 1, local.tm_mday,
                local.tm_year + 1900);
  return text;
}

std::string clockText(double secondsOfDay) {
  const long t = static_cast<long>(std::floor(secondsOfDay)) % 86400;
  char text[32];
  std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld", t / 3600, t / 60 % 60, t % 60);
  return text;
}

// The header pair; true when both lines reached the file.
bool startFile(Scope& s) {
  s.FRecField1 = startDate();
  s.FRecField2 = clockText(s.host.TimeOfDay());
  if (!frecsave(s, s, s)) return false;
  s.FRecField1 = kRecorderHeader1;
  s.FRecField2 = kRecorderHeader2;
  return frecsave(s, s, s);
}

// EXIT was pressed: take the interval, and with one set up the file. True when the
// panel may close.
bool finish(Scope& s) {
  s.SaveWhat = "Frequency data points";
  s.SaveExt = "csv";
  const std::string typed = s.panel.Frectimerx.text;
  const double interval = recorderInterval(typed);
  s.panel.Frectimerx.text = plainNumber(interval);
  s.FRecInterval = interval;
  if (interval == 0) {
    // Only 0 asks for no recording; any other value outside the range also turns it off,
    // and the user must not leave the panel believing a recording was set up.
    if (std::strtod(typed.c_str(), nullptr) != 0)
      s.host.MsgBox("The interval must be 3 to 9999 seconds; \"" + typed +
                        "\" turns recording off, so nothing will be recorded",
                    mb::OK, "Help");
    return true;
  }
  frecnametest(s);
  if (s.SaveConfirmed != 1) return false;
  if (!startFile(s)) {
    s.host.MsgBox("Unable to save - cannot write " + s.FilePath, mb::OK, "Help");
    return false;
  }
  s.FRecNextTime = std::fmod(s.host.TimeOfDay(), 86400);
  s.FRecElapsed = 0;
  s.FRecLost = 0;
  return true;
}
}  // namespace

void frecfilesave(Scope& s) {
  Panel& p = s.panel;
  holdRemotePoll(s);
  std::error_code ec;
  if (s.FRecFolder.empty()) s.FRecFolder = fs::current_path(ec).string();
  p.Frecname.text = "Untitled";
  p.Frectimerx.text = plainNumber(s.FRecInterval);
  s.SavePanelDone = 0;
  listFolder(s);
  p.Filesavefrec.visible = true;

  while (!s.unloaded) {
    s.host.DoEvents();
    if (s.SavePanelDone == 1) {
      if (finish(s)) break;
      s.SavePanelDone = 0;
    }
    s.host.Sleep(kLoopMs);
  }
  s.SavePanelDone = 0;
  p.Filesavefrec.visible = false;
  resumeRemotePoll(s);
}

}  // namespace qvx
