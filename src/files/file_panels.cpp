#include "files/file_panels.h"

#include <algorithm>
#include <filesystem>

#include "acquisition/channels.h"
#include "acquisition/timebase.h"
#include "acquisition/trigger.h"
#include "core/place_chooser.h"
#include "core/remote_poll.h"
#include "display/render.h"
#include "display/settings.h"
#include "files/custom_wave.h"
#include "files/file_text.h"
#include "files/profile_file.h"
#include "files/signal_file.h"
#include "generator/generator.h"
#include "panel/numeric.h"

namespace qvx {

namespace fs = std::filesystem;

namespace {

constexpr int kScope = 0, kGenerator = 1, kScopeGen = 2, kCounter = 3, kFft = 4;
// How long a panel loop waits between looks at its flags, in ms.
constexpr int kPollMs = 20;

FolderLists loadLists(Scope& s) {
  Panel& p = s.panel;
  return {p.Drive1, p.Dir1Path, p.Dir1, p.File1, s.LoadFolder, s.LoadPlaces, loadExtensions(s, s)};
}
FolderLists saveLists(Scope& s) {
  Panel& p = s.panel;
  return {p.Drive2, p.Dir2Path, p.Dir2, p.File3, s.SaveFolder, s.SavePlaces, saveExtensions(s)};
}

// Stacks the buttons that are shown in the panel's right-hand column.
void arrangeColumn(const std::vector<Button*>& buttons) {
  int top = 1500;
  for (Button* b : buttons) {
    if (!b->visible) continue;
    b->place = {8500, top, 3100, 440};
    top += 540;
  }
}

void printLabels(PictureArea& w, const std::string& title, const std::string& instruction) {
  w.cls();
  w.fontBold = true;
  w.fontSize = 14;
  w.printAt(400, 250, title);
  w.fontBold = false;
  w.fontSize = 10;
  w.printAt(400, 800, instruction);
  w.printAt(400, 1250, "Drive selection");
  w.printAt(3300, 1250, "Directory selection");
  w.printAt(5900, 1250, "File selection");
}

void copyLoadedWaveToView(Scope& s) {
  const auto last = static_cast<std::int32_t>(std::clamp(s.GenLastIndex, 0.0f, 65535.0f));
  std::copy_n(s.GenTable.begin(), last + 1, s.CustomView.begin());
  GENDISP(s);
}

// What the panel shows after a profile: the restored mode and every panel it touches.
// The profile's window goes into the two bars that hold it, which keep it within what the
// mode can show; the window drawn is then the one the bars show.
void showRestoredProfile(Scope& s) {
  const int width = s.ViewWidth, start = s.ViewStart;
  s.panel.HScroll2.setValue(width);
  s.panel.HScroll1.setValue(start);
  s.ViewWidth = s.panel.HScroll2.value();
  if (s.runControl.checkMode) s.runControl.checkMode(s);
  CHANA(s);
  CHANB(s);
  CHANE(s);
  CHANF(s);
  TRIGGER(s);
  DSAMPLE(s);
  SDISPLAY(s);
  scrollcalca(s);
  scrollcalcB(s);
  scrollcalce(s);
  scrollcalcf(s);
}

void clearLoadRequests(FilePanelState& s) {
  s.ReqLoadAB = s.ReqLoadB = s.ReqLoadFFT = s.ReqLoadProfile = s.ReqLoadCustom = s.ReqLoadCsv = 0;
  s.ReqCopyA = s.ReqCopyB = s.ReqCopyC = s.ReqCopyD = s.ReqKeepCustom = 0;
}

void clearSaveRequests(FilePanelState& s) {
  s.ReqSaveAB = s.ReqSaveFFT = s.ReqSaveCustom = s.ReqSaveProfile = s.ReqExportFFT = 0;
  s.ExportKind = 0;
}

void showLoadPanel(Scope& s, bool custom) {
  Panel& p = s.panel;
  const int mode = s.OperatingMode;
  const bool generator = mode == kGenerator || mode == kScopeGen;
  p.Customloadbutton.visible = p.CustomCSVbutton.visible = custom || generator;
  p.chaloadbutton.visible = p.chbloadbutton.visible = !custom && mode == kScope;
  p.FFTloadab.visible = !custom && mode == kFft;
  p.profileloadbutton.visible = !custom;
  for (Button* b :
       {&p.CopyAbutton, &p.CopyBbutton, &p.CopyEbutton, &p.CopyFbutton, &p.keepcustombutton})
    b->visible = custom;
  arrangeColumn({&p.chaloadbutton, &p.chbloadbutton, &p.FFTloadab, &p.Customloadbutton,
                 &p.CustomCSVbutton, &p.CopyAbutton, &p.CopyBbutton, &p.CopyEbutton, &p.CopyFbutton,
                 &p.keepcustombutton, &p.profileloadbutton, &p.loadexitbutton});

  PictureArea& w = p.fileloadwindow;
  const std::string title = custom         ? "CUSTOM WAVEFORM LOADING"
                            : mode == kFft ? "FFT PLOTS AND PROFILE LOADING"
                                           : "SIGNAL AND PROFILE LOADING";
  printLabels(w, title, "Select Drive/Directory/File and click button to load");
  if (!custom)
    w.printAt(400, 7300,
              "Note: Existing channel data will not be overwritten if channel is turned OFF");
  w.visible = true;
  showFolder(s.host, loadLists(s));
}

// One pass of the custom-wave form; true when the form is to close.
bool customPass(Scope& s) {
  if (s.ReqKeepCustom == 1) {
    s.ReqKeepCustom = 0;
    s.LoadPanelDone = 1;
    s.LoadResult = 1;
  }
  s.host.DoEvents();
  s.host.Sleep(kPollMs);
  using Loader = void (*)(Scope&);
  for (auto [flag, load] : {std::pair<int*, Loader>{&s.ReqLoadCustom, customload},
                            std::pair<int*, Loader>{&s.ReqLoadCsv, Customcsvload}}) {
    if (*flag != 1) continue;
    s.FilePath = chosenFile(loadLists(s));
    load(s);
    if (s.LoadResult == 1) return true;
    *flag = 0;
  }
  int* copies[] = {&s.ReqCopyA, &s.ReqCopyB, &s.ReqCopyC, &s.ReqCopyD};
  for (int channel = 0; channel < 4; ++channel) {
    if (*copies[channel] != 1) continue;
    copyChannelToCustom(s, s, s, channel);
    s.LoadResult = 1;
    s.GenCustomRate = s.SampleRateIndex;
    *copies[channel] = 0;
    return true;
  }
  return false;
}

void generalPass(Scope& s) {
  s.host.DoEvents();
  s.host.Sleep(kPollMs);
  const std::string chosen = chosenFile(loadLists(s));
  auto run = [&](int& flag, void (*load)(Scope&)) {
    if (flag != 1) return false;
    s.FilePath = chosen;
    s.LoadResult = 0;
    load(s);
    flag = 0;
    return s.LoadResult == 1;
  };
  // A custom wave shows only once the generator panel has it as its working copy.
  if (run(s.ReqLoadCustom, customload)) copyLoadedWaveToView(s);
  if (run(s.ReqLoadCsv, Customcsvload)) copyLoadedWaveToView(s);
  run(s.ReqLoadFFT, FFTabload);
  if (s.ReqLoadAB == 1 || s.ReqLoadB == 1) {
    s.FilePath = chosen;
    chabload(s);
    s.ReqLoadAB = s.ReqLoadB = 0;
  }
  if (run(s.ReqLoadProfile, profileload)) showRestoredProfile(s);
}

struct SaveAction {
  int* flag;
  std::string what, ext;
  void (*writer)(Scope&);
};

void showSavePanel(Scope& s) {
  Panel& p = s.panel;
  const int mode = s.OperatingMode;
  p.customsavebutton.visible = mode == kGenerator || mode == kScopeGen;
  p.chasavebutton.visible = p.EXPORTABBUTTON.visible = mode != kGenerator && mode != kFft;
  p.fftsaveab.visible = p.ExportFFTab.visible = mode == kFft;
  arrangeColumn({&p.chasavebutton, &p.EXPORTABBUTTON, &p.fftsaveab, &p.ExportFFTab,
                 &p.customsavebutton, &p.profilesavebutton, &p.exitsavebutton});

  PictureArea& w = p.filesavewindow;
  printLabels(w, mode == kFft ? "FFT PLOTS AND PROFILE SAVING" : "SIGNAL AND PROFILE SAVING",
              "Select Drive/Directory/File and click button to save");
  w.printAt(400, 6950, "Type in File Name to save >>");
  p.savename.visible = true;
  p.savename.text = "Untitled";
  w.visible = true;
  showFolder(s.host, saveLists(s));
}

}  // namespace

std::vector<std::string> loadExtensions(const RunState& run, const FilePanelState& files) {
  if (files.LoadPanelGeneral == 0) return {};
  switch (run.OperatingMode) {
    case kScope:
      return {"qvx", "dpf"};
    case kFft:
      return {"fft", "dpf"};
    case kCounter:
      return {"dpf"};
    default:
      return {};
  }
}

std::vector<std::string> saveExtensions(const RunState& s) {
  switch (s.OperatingMode) {
    case kGenerator:
      return {"dcg", "dpf"};
    case kScopeGen:
      return {"qvx", "csv", "dcg", "dpf"};
    case kFft:
      return {"fft", "csv", "dpf"};
    default:
      return {"qvx", "csv", "dpf"};
  }
}

void FILELOAD(Scope& s) {
  Panel& p = s.panel;
  holdRemotePoll(s);
  const bool custom = s.LoadPanelGeneral == 0;
  showLoadPanel(s, custom);
  if (custom) s.ReqLoadCustom = s.ReqLoadCsv = 0;

  while (s.LoadPanelDone == 0 && !s.unloaded) {
    if (custom) {
      if (customPass(s)) break;
    } else {
      generalPass(s);
    }
  }

  s.LoadPanelDone = 0;
  clearLoadRequests(s);
  for (Button* b : {&p.CopyAbutton, &p.CopyBbutton, &p.CopyEbutton, &p.CopyFbutton})
    b->visible = false;
  p.fileloadwindow.visible = false;
  if (custom && s.LoadResult == 1) copyLoadedWaveToView(s);
  resumeRemotePoll(s);
}

bool customWaveForm(Scope& s) {
  s.LoadPanelGeneral = 0;
  s.LoadResult = 0;
  FILELOAD(s);
  s.LoadPanelGeneral = 1;
  return s.LoadResult == 1;
}

void fileloadbutton_Click(Scope& s) {
  holdRemotePoll(s);
  s.LoadPanelGeneral = 1;
  s.LoadResult = 0;
  FILELOAD(s);
  HScroll1_Change(s);
  resumeRemotePoll(s);
}

std::optional<std::string> saveNameStem(Scope& s, const std::string& name) {
  if (name.empty()) {
    helpMessage(s, "No File name to save");
    return std::nullopt;
  }
  std::string stem = name.substr(0, name.find('.'));
  if (name.find_first_of("/\\") != std::string::npos ||
      stem.find_first_not_of(" \t") == std::string::npos) {
    helpMessage(s, kBadSaveName);
    return std::nullopt;
  }
  return stem;
}

void filenametest(Scope& s) {
  s.SaveConfirmed = 0;
  const std::optional<std::string> stem = saveNameStem(s, s.panel.savename.text);
  if (!stem) return;
  s.FilePath = (fs::path(absoluteFolder(s.SaveFolder)) / (*stem + "." + s.SaveExt)).string();
  if (s.host.MsgBox("Save " + s.SaveWhat + " as " + s.FilePath, mb::OKCancel, "Save message") ==
      mb::AnswerOK)
    s.SaveConfirmed = 1;
}

void filesave(Scope& s) {
  Panel& p = s.panel;
  holdRemotePoll(s);
  showSavePanel(s);

  while (s.SavePanelDone == 0 && !s.unloaded) {
    s.host.DoEvents();
    s.host.Sleep(kPollMs);
    const std::string size =
        plainNumber(1 << (std::clamp<std::int32_t>(s.SampleSizeIndex, 0, 5) + 1));
    const SaveAction actions[] = {
        {&s.ReqSaveAB, "Channels A, B, C & D Waves", "qvx", chabsave},
        {&s.ReqSaveFFT, "Channels A & B FFT Plots", "fft", fftabsave},
        {&s.ReqSaveCustom, "Custom wave", "dcg", customsave},
        {&s.ReqSaveProfile, "Scope Profile", "dpf", profilesave},
        {&s.ExportKind,
         "Channels A & B in Excel CSV format. Selected buffer size of " + size + " K", "csv",
         exportab},
        {&s.ReqExportFFT,
         "Channels A & B FFT data in Excel CSV format. Size of " +
             plainNumber((1 << (std::clamp<std::int32_t>(s.SampleSizeIndex, 0, 5) + 1)) / 2) + " K",
         "csv", exportab}};
    for (const SaveAction& a : actions) {
      if (*a.flag != 1) continue;
      s.SaveWhat = a.what;
      s.SaveExt = a.ext;
      filenametest(s);
      s.DataFilesReady = 0;
      if (s.SaveConfirmed == 1) a.writer(s);
      *a.flag = 0;
      if (s.DataFilesReady == 1) s.SavePanelDone = 1;
      break;
    }
  }

  s.SavePanelDone = 0;
  clearSaveRequests(s);
  p.savename.visible = false;
  p.filesavewindow.visible = false;
  resumeRemotePoll(s);
}

void filesavebutton_Click(Scope& s) {
  holdRemotePoll(s);
  filesave(s);
  HScroll1_Change(s);
  resumeRemotePoll(s);
}

void File3_Click(Scope& s) {
  const ListBox& files = s.panel.File3;
  if (files.listIndex >= 0 && files.listIndex < static_cast<int>(files.items.size()))
    s.panel.savename.text = files.items[files.listIndex];
}

bool openFileFromCommandLine(Scope& s, const std::string& path) {
  std::string ext = fs::path(path).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  holdRemotePoll(s);
  s.LoadPanelGeneral = 1;
  s.LoadResult = 0;
  s.FilePath = path;
  if (ext == ".fft") {
    if (s.OperatingMode != kFft && s.runControl.checkMode) {
      s.OperatingMode = kFft;
      s.runControl.checkMode(s);
    }
    FFTabload(s);
  } else if (ext == ".dpf") {
    profileload(s);
    if (s.LoadResult == 1) showRestoredProfile(s);
  } else {
    chabload(s);
  }
  clearLoadRequests(s);
  HScroll1_Change(s);
  resumeRemotePoll(s);
  return s.LoadResult == 1;
}

void wireFileLists(Scope& s) {
  Panel& p = s.panel;
  p.Drive1.onClick = [&s] { placeChosen(s.host, loadLists(s)); };
  p.Dir1.onClick = [&s] { folderChosen(s.host, loadLists(s)); };
  p.Drive2.onClick = [&s] { placeChosen(s.host, saveLists(s)); };
  p.Dir2.onClick = [&s] { folderChosen(s.host, saveLists(s)); };
}

void layOutFilePanels(Panel& p) {
  struct Side {
    ListBox &places, &folders, &files;
    PictureArea& pathBox;
  };
  for (Side side :
       {Side{p.Drive1, p.Dir1, p.File1, p.Dir1Path}, Side{p.Drive2, p.Dir2, p.File3, p.Dir2Path}}) {
    side.places.place = {400, 1500, 2700, 2600};
    side.pathBox.place = {3300, 1500, 4950, 330};
    side.pathBox.backColour = 0xFFFFFF;
    side.folders.place = {3300, 1900, 2450, 4800};
    side.files.place = {5900, 1900, 2350, 4800};
    for (Widget* w : {static_cast<Widget*>(&side.places), static_cast<Widget*>(&side.folders),
                      static_cast<Widget*>(&side.files), static_cast<Widget*>(&side.pathBox)})
      w->fontSize = 9;
  }
  p.savename.place = {3300, 6880, 4950, 380};
  p.savename.fontSize = 10;
  for (Button* b : {&p.chaloadbutton, &p.chbloadbutton, &p.FFTloadab, &p.profileloadbutton,
                    &p.Customloadbutton, &p.CustomCSVbutton, &p.keepcustombutton, &p.CopyAbutton,
                    &p.CopyBbutton, &p.CopyEbutton, &p.CopyFbutton, &p.chasavebutton, &p.fftsaveab,
                    &p.customsavebutton, &p.profilesavebutton, &p.EXPORTABBUTTON, &p.ExportFFTab})
    b->fontSize = 9;
  for (Button* b : {&p.loadexitbutton, &p.exitsavebutton}) {
    b->fontSize = 10;
    b->fontBold = true;
  }
  arrangeColumn({&p.chaloadbutton, &p.chbloadbutton, &p.FFTloadab, &p.Customloadbutton,
                 &p.CustomCSVbutton, &p.CopyAbutton, &p.CopyBbutton, &p.CopyEbutton, &p.CopyFbutton,
                 &p.keepcustombutton, &p.profileloadbutton, &p.loadexitbutton});
  arrangeColumn({&p.chasavebutton, &p.EXPORTABBUTTON, &p.fftsaveab, &p.ExportFFTab,
                 &p.customsavebutton, &p.profilesavebutton, &p.exitsavebutton});
}

}  // namespace qvx
