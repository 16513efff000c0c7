#include "bode/save.h"

#include <filesystem>
#include <string>

#include "bode/view.h"
#include "core/place_chooser.h"
#include "core/remote_poll.h"
#include "files/file_panels.h"
#include "files/file_text.h"
#include "files/safe_write.h"

namespace qvx {

namespace {

namespace fs = std::filesystem;

FolderLists saveLists(Scope& s) {
  Panel& p = s.panel;
  bode::View& v = bodeView(s);
  return {p.BodeDrive,  p.BodeDirPath, p.BodeDirList, p.BodeFileList,
          v.saveFolder, v.savePlaces,  {"csv"}};
}

void drawLabels(PictureArea& w) {
  w.cls();
  w.foreColour = 0xFF0000;
  w.fontBold = true;
  w.fontSize = 12;
  w.printAt(400, 100, "BODE RESPONSE SAVING (CSV)");
  w.foreColour = 0;
  w.fontSize = 9;
  w.printAt(400, 520, "Select place and folder, type a name and click Save");
  w.fontBold = false;
  w.printAt(400, 840, "Place");
  w.printAt(3300, 840, "Folder");
  w.printAt(7200, 840, "Files");
  w.printAt(400, 4040, "File name >>");
}

}  // namespace

void layOutBodeSave(Panel& p) {
  p.BodeSaveBox.place = p.BodeBox.place;
  p.BodeSaveBox.backColour = 0xC8C8C8;
  p.BodeSaveBox.visible = false;
  p.BodeDrive.place = {400, 1100, 2700, 2700};
  p.BodeDirPath.place = {3300, 1100, 8200, 300};
  p.BodeDirPath.backColour = 0xFFFFFF;
  p.BodeDirList.place = {3300, 1450, 3700, 2350};
  p.BodeFileList.place = {7200, 1450, 4300, 2350};
  p.BodeSaveName.place = {2000, 3980, 4000, 360};
  p.BodeSaveOk.place = {6300, 3980, 1400, 360};
  p.BodeSaveExit.place = {10100, 3980, 1400, 360};
  for (Widget* w : {static_cast<Widget*>(&p.BodeDrive), static_cast<Widget*>(&p.BodeDirPath),
                    static_cast<Widget*>(&p.BodeDirList), static_cast<Widget*>(&p.BodeFileList),
                    static_cast<Widget*>(&p.BodeSaveName)})
    w->fontSize = 9;
  p.BodeSaveOk.fontBold = p.BodeSaveExit.fontBold = true;
  p.BodeSaveBox.toolTip = "Save the Bode response as CSV";
  p.BodeDrive.toolTip = "Places: the filesystem root, home and mounted volumes";
  p.BodeDirPath.toolTip = "The folder the file goes to";
  p.BodeDirList.toolTip = "Folders: click to open one";
  p.BodeFileList.toolTip = "CSV files here: click to take a name";
  p.BodeSaveName.toolTip = "File name; .csv is put at its end";
  p.BodeSaveOk.toolTip = "Save the response: frequency, gain dB and phase deg per channel";
  p.BodeSaveExit.toolTip = "Close without saving";
}

void openBodeSave(Scope& s) {
  Panel& p = s.panel;
  if (bodeView(s).response.points.empty()) {
    helpMessage(s, kNothingToSave);
    return;
  }
  holdRemotePoll(s);
  p.BodeSaveBox.visible = true;
  p.BodeSaveName.text = "bode";
  drawLabels(p.BodeSaveBox);
  showFolder(s.host, saveLists(s));
  p.focus = p.BodeSaveName.name;
}

void closeBodeSave(Scope& s) {
  Panel& p = s.panel;
  if (!p.BodeSaveBox.visible) return;
  p.BodeSaveBox.visible = false;
  p.BodeSaveBox.cls();
  resumeRemotePoll(s);
}

void BodeSaveOk_Click(Scope& s) {
  const std::optional<std::string> stem = saveNameStem(s, s.panel.BodeSaveName.text);
  if (!stem) return;
  const std::string path =
      (fs::path(absoluteFolder(bodeView(s).saveFolder)) / (*stem + ".csv")).string();
  if (s.host.MsgBox("Save Bode response as " + path, mb::OKCancel, "Save message") != mb::AnswerOK)
    return;
  if (!replaceFileWhole(path, bode::csvText(bodeView(s).response))) {
    helpMessage(s, kUnableToSave);
    return;
  }
  closeBodeSave(s);
}

void wireBodeSave(Scope& s) {
  Panel& p = s.panel;
  p.BodeDrive.onClick = [&s] { placeChosen(s.host, saveLists(s)); };
  p.BodeDirList.onClick = [&s] { folderChosen(s.host, saveLists(s)); };
  p.BodeFileList.onClick = [&s] {
    const ListBox& list = s.panel.BodeFileList;
    if (list.listIndex >= 0 && list.listIndex < static_cast<int>(list.items.size()))
      s.panel.BodeSaveName.text = list.items[static_cast<std::size_t>(list.listIndex)];
  };
  p.BodeSaveOk.onClick = [&s] { BodeSaveOk_Click(s); };
  p.BodeSaveExit.onClick = [&s] { closeBodeSave(s); };
}

}  // namespace qvx
