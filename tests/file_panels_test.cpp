#include "files/file_panels.h"

#include <filesystem>
#include <fstream>
#include <set>

#include "generator/generator.h"
#include "loader_test.h"

namespace qvx {
namespace {

using fuzzing::LoaderRig;
using FilePanels = LoaderTest;

using Captions = std::set<std::string>;

Captions shownButtons(const PictureArea& window, const Panel& p) {
  Captions names;
  for (const Widget* w : p.controls)
    if (w->container == &window && w->kind == Widget::Kind::Button && w->visible)
      names.insert(static_cast<const Button*>(w)->caption);
  return names;
}

// Opens a panel with `open`, runs `inside` once the panel shows, then leaves by EXIT.
void whileOpen(LoaderRig& r, void (*open)(Scope&), Button& exit, std::function<void()> inside) {
  r.rig.host.afterPumps(1, [&r, &exit, inside] {
    inside();
    r.rig.host.afterPumps(1, [&exit] { exit.click(); });
  });
  open(r.rig.scope);
}

TEST_F(FilePanels, OfferTheLoadsAndSavesOfTheModeAndHoldTheRemotePoll) {
  const Captions customLoads = {"Load Scope Profile (dpf)", "Load Custom Wave (dcg)",
                                "Load CSV Excel Wave", "EXIT"};
  const struct {
    int mode;
    Captions loads, saves;
  } cases[] = {
      {0,
       {"Load A,B,C,D Waves (qvx)", "Load B Waves (qvx)", "Load Scope Profile (dpf)", "EXIT"},
       {"Save A,B,C,D Waves", "Export A,B,C,D (Excel)", "Save Scope Profile", "EXIT"}},
      {1, customLoads, {"Save Custom Wave", "Save Scope Profile", "EXIT"}},
      {2,
       customLoads,
       {"Save A,B,C,D Waves", "Export A,B,C,D (Excel)", "Save Custom Wave", "Save Scope Profile",
        "EXIT"}},
      {3, {"Load Scope Profile (dpf)", "EXIT"}, {}},
      {4,
       {"Load A + B FFT plots (fft)", "Load Scope Profile (dpf)", "EXIT"},
       {"Save A + B FFT Plots", "Export A + B FFT (Excel csv)", "Save Scope Profile", "EXIT"}}};
  for (const auto& c : cases) {
    r.fresh();
    s.OperatingMode = c.mode;
    whileOpen(r, fileloadbutton_Click, p.loadexitbutton, [&] {
      EXPECT_EQ(shownButtons(p.fileloadwindow, p), c.loads) << "mode " << c.mode;
      EXPECT_FALSE(p.Timer2.enabled()) << "no remote command while the panel is open";
      if (c.mode == 4) {
        EXPECT_NE(p.fileloadwindow.texts().find("FFT PLOTS AND PROFILE LOADING"),
                  std::string::npos);
      }
    });
    EXPECT_FALSE(p.fileloadwindow.visible);
    EXPECT_TRUE(p.Timer2.enabled());
    if (c.saves.empty()) continue;
    whileOpen(r, filesavebutton_Click, p.exitsavebutton, [&] {
      EXPECT_EQ(shownButtons(p.filesavewindow, p), c.saves) << "mode " << c.mode;
      EXPECT_EQ(p.savename.text, "Untitled");
      EXPECT_TRUE(p.savename.shown());
    });
    EXPECT_FALSE(p.savename.shown());
  }
}

TEST_F(FilePanels, SaveNameTakesTheExtensionOfWhatIsSaved) {
  s.SaveFolder = r.folder.path().string();
  s.SaveExt = "qvx";
  s.SaveWhat = "Channels A, B, C & D Waves";
  for (auto [typed, name] : {std::pair{"trace.old.data", "trace.qvx"},
                             std::pair{"test", "test.qvx"}, std::pair{"test.txt", "test.qvx"}}) {
    p.savename.text = typed;
    filenametest(s);
    EXPECT_EQ(s.FilePath, (r.folder.path() / name).string());
    EXPECT_EQ(s.SaveConfirmed, 1);
    EXPECT_EQ(lastMessage(), "Save message: Save Channels A, B, C & D Waves as " + s.FilePath);
  }
  p.savename.text = "";
  filenametest(s);
  EXPECT_EQ(s.SaveConfirmed, 0);
  EXPECT_EQ(lastMessage(), "Help: No File name to save");

  // Everything before the first dot is kept, blanks and all.
  p.savename.text = "sig 1.5kHz";
  filenametest(s);
  EXPECT_EQ(s.FilePath, (r.folder.path() / "sig 1.qvx").string());
  EXPECT_EQ(s.SaveConfirmed, 1);
}

// A name that would leave the chosen folder, or whose name before the first dot is empty
// (a hidden file named only by its extension), is refused before anything is asked.
TEST_F(FilePanels, SaveNamesWithAFolderOrNothingBeforeTheDotAreRefusedAndWriteNothing) {
  s.SaveFolder = r.folder.path().string();
  s.SaveExt = "dpf";
  s.SaveWhat = "Scope Profile";
  for (const char* typed :
       {"../escape", "sub/name", "..\\up", ".hidden", ".", "..", " .qvx", "/tmp/x", "a/"}) {
    SCOPED_TRACE(typed);
    messages.clear();
    s.FilePath.clear();
    p.savename.text = typed;
    filenametest(s);
    EXPECT_EQ(s.SaveConfirmed, 0);
    ASSERT_EQ(messages.size(), 1u) << "refused without the question";
    EXPECT_EQ(lastMessage(), std::string("Help: ") + kBadSaveName);
  }
  // Through the panel: the save is refused, nothing is written, the panel stays open.
  host.afterPumps(1, [&] {
    p.savename.text = "../escape";
    p.profilesavebutton.click();
    host.afterPumps(2, [&] {
      EXPECT_TRUE(p.filesavewindow.visible);
      p.exitsavebutton.click();
    });
  });
  filesavebutton_Click(s);
  EXPECT_FALSE(std::filesystem::exists(r.folder.path().parent_path() / "escape.dpf"));
  for (const auto& entry : std::filesystem::directory_iterator(r.folder.path()))
    EXPECT_NE(entry.path().extension(), ".dpf") << entry.path();
}

TEST_F(FilePanels, SaveCancelKeepsThePanelOpenAndWritesNothing) {
  host.answers = {mb::AnswerCancel};
  host.afterPumps(1, [&] {
    p.savename.text = "kept";
    p.chasavebutton.click();
    host.afterPumps(2, [&] {
      EXPECT_TRUE(p.filesavewindow.visible);
      p.exitsavebutton.click();
    });
  });
  filesavebutton_Click(s);
  EXPECT_FALSE(std::filesystem::exists("kept.qvx"));
  EXPECT_EQ(s.ReqSaveAB, 0);

  // Confirmed, the save closes the panel by itself.
  host.afterPumps(1, [&] {
    p.savename.text = "kept";
    p.profilesavebutton.click();
  });
  filesavebutton_Click(s);
  EXPECT_TRUE(std::filesystem::exists("kept.dpf"));
  EXPECT_FALSE(p.filesavewindow.visible);
}

TEST_F(FilePanels, ListFoldersAndFilesOfTheChosenFolderFilteredByExtension) {
  std::filesystem::create_directory("sub");
  std::filesystem::create_directory(".hidden");
  for (const char* f : {"a.qvx", "B.QVX", "c.txt", "p.dpf", "sub/inner.qvx"})
    std::ofstream(f) << "x";
  const std::vector<std::string> listed = {"B.QVX", "a.qvx", "p.dpf"};
  whileOpen(r, fileloadbutton_Click, p.loadexitbutton, [&] {
    EXPECT_EQ(p.File1.items, listed);
    EXPECT_EQ(p.Drive1.items.at(0), "/  (filesystem root)");
    EXPECT_EQ(p.Dir1.items, (std::vector<std::string>{"..", "sub/"}));
    p.Dir1.listIndex = 1;
    p.Dir1.click();
    EXPECT_EQ(p.File1.items, std::vector<std::string>{"inner.qvx"});
    EXPECT_EQ(p.Dir1Path.texts(), (r.folder.path() / "sub").string());
    p.Dir1.listIndex = 0;
    p.Dir1.click();
  });
  EXPECT_EQ(s.LoadFolder, r.folder.path().string()) << "'..' leads back";

  // The place list leads to the root; the save panel lists what it can save.
  whileOpen(r, filesavebutton_Click, p.exitsavebutton, [&] {
    EXPECT_EQ(p.File3.items, listed);
    p.File3.listIndex = 1;
    p.File3.click();
    EXPECT_EQ(p.savename.text, "a.qvx");
    p.Drive2.listIndex = 0;
    p.Drive2.click();
    EXPECT_EQ(s.SaveFolder, "/");
    EXPECT_NE(p.Dir2.items.at(0), "..") << "nothing above the root";
  });
}

TEST_F(FilePanels, CustomFormKeepCopyAndLoadEachEndTheFormWithAWaveThatUpdatePlays) {
  host.afterPumps(1, [&] {
    EXPECT_EQ(
        shownButtons(p.fileloadwindow, p),
        (Captions{"Copy Ch A signal", "Copy Ch B signal", "Copy Ch C signal", "Copy Ch D signal",
                  "EXIT", "Keep existing data", "Load CSV Excel Wave", "Load Custom Wave (dcg)"}));
    EXPECT_NE(p.fileloadwindow.texts().find("CUSTOM WAVEFORM LOADING"), std::string::npos);
    p.keepcustombutton.click();
  });
  s.GenLastIndex = 99;
  s.GenTable[99] = 1234;
  EXPECT_TRUE(customWaveForm(s));
  EXPECT_EQ(s.CustomView[99], 1234) << "the kept wave is the generator's working copy";
  EXPECT_FALSE(p.CopyAbutton.visible);

  // UPDATE in CUSTOM mode goes through the form: channel B of a 4K capture taken at rate
  // step 2, copied, becomes the table that plays, no longer marked for a rebuild.
  s.GenMode = 2;
  s.GenDirty = 1;
  s.GenSizeIndex = 1;
  s.SampleRateIndex = 2;
  for (int i = 0; i < 65536; ++i) s.BufB[i] = static_cast<std::int16_t>(4095 - i % 4096);
  host.afterPumps(1, [&] { p.CopyBbutton.click(); });
  GENUPDATEBUTTON_Click(s);
  EXPECT_EQ(s.GenLastIndex, 4095);
  EXPECT_EQ(s.GenCustomRate, 2);
  EXPECT_EQ(s.GenTable[0], 4095);
  EXPECT_EQ(s.GenTable[4095], 0);
  EXPECT_EQ(s.GenDirty, 0);

  // A failed load keeps the form open; a good one ends it.
  std::ofstream("w.csv") << "1,2,3";
  host.afterPumps(1, [&] {
    p.Customloadbutton.click();  // nothing chosen yet
    host.afterPumps(2, [&] {
      const auto& files = p.File1.items;
      p.File1.listIndex =
          static_cast<int>(std::find(files.begin(), files.end(), "w.csv") - files.begin());
      p.CustomCSVbutton.click();
    });
  });
  EXPECT_TRUE(customWaveForm(s));
  EXPECT_EQ(lastMessage(), "Help: No File selected to load");
  EXPECT_EQ(s.GenLastIndex, 9);
  EXPECT_EQ(s.CustomView[2], 3);

  s.GenDirty = 1;
  host.afterPumps(1, [&] { p.loadexitbutton.click(); });
  GENUPDATEBUTTON_Click(s);
  EXPECT_EQ(s.GenDirty, 1) << "EXIT alone loads nothing; the table stays marked";
}

// A capture loads as the corpus replay shows; a spectrum also switches to FFT mode.
TEST_F(FilePanels, CommandLineFilesLoadAsTheLoadPanelLoadsThem) {
  EXPECT_FALSE(openFileFromCommandLine(s, "missing.qvx"));
  EXPECT_EQ(lastMessage(), "Help: Not a valid QVX signal file");
  EXPECT_TRUE(openFileFromCommandLine(s, QVX_CORPUS_DIR "/fft/spectrum_1k.fft"));
  EXPECT_EQ(s.OperatingMode, 4) << "a spectrum is shown in FFT mode";
  EXPECT_EQ(s.FftDoneA, 1);
  EXPECT_TRUE(p.Timer2.enabled());
}

}  // namespace
}  // namespace qvx
