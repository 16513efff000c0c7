#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

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
  w.printAt(600, 1000, "Select Directory/File and click button to save");
  w.printAt(600, 1560, "Type in File Name to save >>");
  w.printAt(600, 2200, "Directory selection");
  w.printAt(6000, 2200, "File selection");
  w.printAt(600, 6500, "Frequency save interval (sec)");
  w.fontBold = false;
  w.printAt(600, 6800, "   (3 to 9999 secs)");
  w.printAt(600, 7100, "   (0 to disable recording)");
  w.fontSize = 9;
  w.printAt(600, 2480, s.FRecFolder);

  place(p.Frecname, 4000, 1500, 3600, 380, 10);
  place(p.FrecDirList, 600, 2800, 5000, 3500, 9);
  place(p.FrecFileList, 6000, 2800, 5000, 3500, 9);
  place(p.Frectimerx, 4000, 6440, 1200, 380, 10);
  place(p.Command32, 9400, 7100, 1600, 500, 10);
  p.Command32.fontBold = true;
}

std::vector<std::string> sortedNames(const fs::path& folder, bool folders) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeError;
    if (it->is_directory(typeError) == folders) names.push_back(it->path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The folder list (its parent first) and the file list of the chosen folder.
void listFolder(Scope& s) {
  Panel& p = s.panel;
  p.FrecDirList.items = {".."};
  for (std::string& name : sortedNames(s.FRecFolder, true)) p.FrecDirList.items.push_back(name);
  p.FrecDirList.listIndex = -1;
  p.FrecFileList.items = sortedNames(s.FRecFolder, false);
  p.FrecFileList.listIndex = -1;
  drawPanel(s);
}

}  // namespace

void FrecDirList_Click(Scope& s) {
  const ListBox& list = s.panel.FrecDirList;
  if (list.listIndex < 0 || list.listIndex >= static_cast<int>(list.items.size())) return;
  std::error_code ec;
  const fs::path next =
      fs::weakly_canonical(fs::path(s.FRecFolder) / list.items[list.listIndex], ec);
  if (!ec) s.FRecFolder = next.string();
  listFolder(s);
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
  if (!frecsave(s)) return false;
  s.FRecField1 = kRecorderHeader1;
  s.FRecField2 = kRecorderHeader2;
  return frecsave(s);
}

// EXIT was pressed: take the interval, and with one set up the file. True when the
// panel may close.
bool finish(Scope& s) {
  s.SaveWhat = "Frequency data points";
  s.SaveExt = "csv";
  const double interval = recorderInterval(s.panel.Frectimerx.text);
  s.panel.Frectimerx.text = plainNumber(interval);
  s.FRecInterval = interval;
  if (interval == 0) return true;
  frecnametest(s);
  if (s.SaveConfirmed != 1) return false;
  if (!startFile(s)) {
    s.host.MsgBox("Unable to save - cannot write " + s.FilePath, mb::OK, "Help");
    return false;
  }
  s.FRecNextTime = std::fmod(s.host.TimeOfDay(), 86400);
  s.FRecElapsed = 0;
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
