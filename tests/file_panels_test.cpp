#include "files/file_panels.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "files/signal_file.h"
#include "fuzz_entries.h"
#include "generator/generator.h"

namespace qvx {
namespace {

using fuzzing::LoaderRig;

std::vector<std::string> shownButtons(const PictureArea& window, const Panel& p) {
  std::vector<std::string> names;
  for (const Widget* w : p.controls)
    if (w->container == &window && w->kind == Widget::Kind::Button && w->visible)
      names.push_back(static_cast<const Button*>(w)->caption);
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

TEST(LoadPanel, OffersTheLoadsOfTheMode) {
  LoaderRig r;
  using Captions = std::vector<std::string>;
  const std::pair<int, Captions> cases[] = {
      {0, {"Load A,B,C,D Waves (qvx)", "Load B Waves (qvx)", "Load Scope Profile (dpf)", "EXIT"}},
      {1, {"Load Scope Profile (dpf)", "Load Custom Wave (dcg)", "Load CSV Excel Wave", "EXIT"}},
      {2, {"Load Scope Profile (dpf)", "Load Custom Wave (dcg)", "Load CSV Excel Wave", "EXIT"}},
      {3, {"Load Scope Profile (dpf)", "EXIT"}},
      {4, {"Load A + B FFT plots (fft)", "Load Scope Profile (dpf)", "EXIT"}}};
  for (const auto& [mode, captions] : cases) {
    Scope& s = r.fresh();
    s.OperatingMode = mode;
    Captions shown, title;
    whileOpen(r, fileloadbutton_Click, s.panel.loadexitbutton, [&] {
      shown = shownButtons(s.panel.fileloadwindow, s.panel);
      EXPECT_FALSE(s.panel.Timer2.enabled()) << "no remote command while the panel is open";
    });
    std::sort(shown.begin(), shown.end());
    Captions expected = captions;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(shown, expected) << "mode " << mode;
    EXPECT_FALSE(s.panel.fileloadwindow.visible);
    EXPECT_TRUE(s.panel.Timer2.enabled());
  }
  Scope& s = r.fresh();
  s.OperatingMode = 4;
  whileOpen(r, fileloadbutton_Click, s.panel.loadexitbutton, [] {});
  EXPECT_NE(s.panel.fileloadwindow.texts().find("FFT PLOTS AND PROFILE LOADING"),
            std::string::npos);
}

TEST(SavePanel, OffersTheSavesOfTheMode) {
  LoaderRig r;
  using Captions = std::vector<std::string>;
  const std::pair<int, Captions> cases[] = {
      {0, {"Save A,B,C,D Waves", "Export A,B,C,D (Excel)", "Save Scope Profile", "EXIT"}},
      {1, {"Save Custom Wave", "Save Scope Profile", "EXIT"}},
      {2,
       {"Save A,B,C,D Waves", "Export A,B,C,D (Excel)", "Save Custom Wave", "Save Scope Profile",
        "EXIT"}},
      {4, {"Save A + B FFT Plots", "Export A + B FFT (Excel csv)", "Save Scope Profile", "EXIT"}}};
  for (const auto& [mode, captions] : cases) {
    Scope& s = r.fresh();
    s.OperatingMode = mode;
    Captions shown;
    whileOpen(r, filesavebutton_Click, s.panel.exitsavebutton, [&] {
      shown = shownButtons(s.panel.filesavewindow, s.panel);
      EXPECT_EQ(s.panel.savename.text, "Untitled");
      EXPECT_TRUE(s.panel.savename.shown());
    });
    std::sort(shown.begin(), shown.end());
    Captions expected = captions;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(shown, expected) << "mode " << mode;
    EXPECT_FALSE(s.panel.savename.shown());
  }
}

TEST(SavePanel, TheNameTakesTheExtensionOfWhatIsSaved) {
  LoaderRig r;
  Scope& s = r.fresh();
  s.SaveFolder = r.folder.path().string();
  s.SaveExt = "qvx";
  s.SaveWhat = "Channels A, B, C & D Waves";
  for (auto [typed, name] : {std::pair{"trace.old.data", "trace.qvx"},
                             std::pair{"test", "test.qvx"}, std::pair{"test.txt", "test.qvx"}}) {
    s.panel.savename.text = typed;
    filenametest(s);
    EXPECT_EQ(s.FilePath, (r.folder.path() / name).string());
    EXPECT_EQ(s.SaveConfirmed, 1);
    EXPECT_EQ(r.rig.host.messages.back().text,
              "Save Channels A, B, C & D Waves as " + (r.folder.path() / name).string());
    EXPECT_EQ(r.rig.host.messages.back().title, "Save message");
  }
  s.panel.savename.text = "";
  filenametest(s);
  EXPECT_EQ(s.SaveConfirmed, 0);
  EXPECT_EQ(r.rig.host.messages.back().text, "No File name to save");
}

TEST(SavePanel, CancelKeepsThePanelOpenAndWritesNothing) {
  LoaderRig r;
  Scope& s = r.fresh();
  r.rig.host.answers = {mb::AnswerCancel};
  bool openAfterCancel = false;
  r.rig.host.afterPumps(1, [&] {
    s.panel.savename.text = "kept";
    s.panel.chasavebutton.click();
    r.rig.host.afterPumps(2, [&] {
      openAfterCancel = s.panel.filesavewindow.visible;
      s.panel.exitsavebutton.click();
    });
  });
  filesavebutton_Click(s);
  EXPECT_TRUE(openAfterCancel);
  EXPECT_FALSE(std::filesystem::exists("kept.qvx"));
  EXPECT_EQ(s.ReqSaveAB, 0);

  // Confirmed, the save closes the panel by itself.
  r.rig.host.afterPumps(1, [&] {
    s.panel.savename.text = "kept";
    s.panel.profilesavebutton.click();
  });
  filesavebutton_Click(s);
  EXPECT_TRUE(std::filesystem::exists("kept.dpf"));
  EXPECT_FALSE(s.panel.filesavewindow.visible);
}

TEST(FileLists, FoldersAndFilesOfTheChosenFolderFilteredByExtension) {
  LoaderRig r;
  Scope& s = r.fresh();
  std::filesystem::create_directory("sub");
  std::filesystem::create_directory(".hidden");
  for (const char* f : {"a.qvx", "B.QVX", "c.txt", "p.dpf", "sub/inner.qvx"})
    std::ofstream(f) << "x";
  Panel& p = s.panel;
  std::vector<std::string> top, inner, places;
  whileOpen(r, fileloadbutton_Click, p.loadexitbutton, [&] {
    top = p.File1.items;
    places = p.Drive1.items;
    EXPECT_EQ(p.Dir1.items, (std::vector<std::string>{"..", "sub/"}));
    p.Dir1.listIndex = 1;
    p.Dir1.click();
    inner = p.File1.items;
    EXPECT_EQ(p.Dir1Path.texts(), (r.folder.path() / "sub").string());
    p.Dir1.listIndex = 0;
    p.Dir1.click();
  });
  EXPECT_EQ(top, (std::vector<std::string>{"B.QVX", "a.qvx", "p.dpf"}));
  EXPECT_EQ(inner, (std::vector<std::string>{"inner.qvx"}));
  ASSERT_GE(places.size(), 1u);
  EXPECT_EQ(places[0], "/  (filesystem root)");
  EXPECT_EQ(s.LoadFolder, r.folder.path().string()) << "'..' leads back";

  // The place list leads to the root; the save panel lists what it can save.
  whileOpen(r, filesavebutton_Click, p.exitsavebutton, [&] {
    EXPECT_EQ(p.File3.items, (std::vector<std::string>{"B.QVX", "a.qvx", "p.dpf"}));
    p.File3.listIndex = 1;
    p.File3.click();
    EXPECT_EQ(p.savename.text, "a.qvx");
    p.Drive2.listIndex = 0;
    p.Drive2.click();
    EXPECT_EQ(s.SaveFolder, "/");
    ASSERT_FALSE(p.Dir2.items.empty());
    EXPECT_NE(p.Dir2.items.front(), "..") << "nothing above the root";
  });
}

TEST(CustomWaveForm, KeepCopyAndLoadEachEndTheFormWithAWave) {
  LoaderRig r;
  Scope& s = r.fresh();
  Panel& p = s.panel;
  std::vector<std::string> shown;
  r.rig.host.afterPumps(1, [&] {
    shown = shownButtons(p.fileloadwindow, p);
    EXPECT_NE(p.fileloadwindow.texts().find("CUSTOM WAVEFORM LOADING"), std::string::npos);
    p.keepcustombutton.click();
  });
  s.GenLastIndex = 99;
  s.GenTable[99] = 1234;
  EXPECT_TRUE(customWaveForm(s));
  std::sort(shown.begin(), shown.end());
  EXPECT_EQ(shown,
            (std::vector<std::string>{"Copy Ch A signal", "Copy Ch B signal", "Copy Ch C signal",
                                      "Copy Ch D signal", "EXIT", "Keep existing data",
                                      "Load CSV Excel Wave", "Load Custom Wave (dcg)"}));
  EXPECT_EQ(s.CustomView[99], 1234) << "the kept wave is the generator's working copy";
  EXPECT_FALSE(p.CopyAbutton.visible);

  // Copying channel A of a 4K capture taken at rate step 2.
  s.GenSizeIndex = 1;
  s.SampleRateIndex = 2;
  for (int i = 0; i < 65536; ++i) s.BufA[i] = static_cast<std::int16_t>(i % 4096);
  r.rig.host.afterPumps(1, [&] { p.CopyAbutton.click(); });
  EXPECT_TRUE(customWaveForm(s));
  EXPECT_EQ(s.GenLastIndex, 4095);
  EXPECT_EQ(s.GenCustomRate, 2);
  EXPECT_EQ(s.CustomView[4095], 4095);

  // A failed load keeps the form open; a good one ends it.
  std::ofstream("w.csv") << "1,2,3";
  r.rig.host.afterPumps(1, [&] {
    p.Customloadbutton.click();  // nothing chosen yet
    r.rig.host.afterPumps(2, [&] {
      const auto& files = p.File1.items;
      p.File1.listIndex =
          static_cast<int>(std::find(files.begin(), files.end(), "w.csv") - files.begin());
      p.CustomCSVbutton.click();
    });
  });
  EXPECT_TRUE(customWaveForm(s));
  EXPECT_EQ(r.rig.host.messages.back().text, "No File selected to load");
  EXPECT_EQ(s.GenLastIndex, 9);
  EXPECT_EQ(s.CustomView[2], 3);

  r.rig.host.afterPumps(1, [&] { p.loadexitbutton.click(); });
  EXPECT_FALSE(customWaveForm(s)) << "EXIT alone loads nothing";
}

// The generator's UPDATE in CUSTOM mode goes through the form: a copied channel becomes
// the table that plays, and the table is no longer marked for a rebuild.
TEST(CustomWaveForm, UpdateInCustomModeTakesTheWaveFromTheForm) {
  LoaderRig r;
  Scope& s = r.fresh();
  s.GenMode = 2;
  s.GenDirty = 1;
  s.GenSizeIndex = 0;
  for (int i = 0; i < 65536; ++i) s.BufB[i] = static_cast<std::int16_t>(4095 - i % 4096);
  r.rig.host.afterPumps(1, [&] { s.panel.CopyBbutton.click(); });
  GENUPDATEBUTTON_Click(s);
  EXPECT_EQ(s.GenLastIndex, 2047);
  EXPECT_EQ(s.GenTable[0], 4095);
  EXPECT_EQ(s.GenTable[2047], 2048);
  EXPECT_EQ(s.GenDirty, 0);

  s.GenDirty = 1;
  r.rig.host.afterPumps(1, [&] { s.panel.loadexitbutton.click(); });
  GENUPDATEBUTTON_Click(s);
  EXPECT_EQ(s.GenDirty, 1) << "leaving the form without a wave keeps the table marked";
}

TEST(CommandLine, FilesLoadAsTheLoadPanelLoadsThem) {
  LoaderRig r;
  Scope& s = r.fresh();
  for (int i = 0; i < 65536; ++i) s.BufA[i] = static_cast<std::int16_t>(i % 4096);
  s.FilePath = "cap.qvx";
  chabsave(s);
  s.OperatingMode = 4;
  s.ScrollUnit = 512;
  s.FilePath = "spec.fft";
  fftabsave(s);

  Scope& t = r.fresh();
  EXPECT_TRUE(openFileFromCommandLine(t, "cap.qvx"));
  EXPECT_EQ(t.BufA[4095], 4095);
  EXPECT_FALSE(openFileFromCommandLine(t, "missing.qvx"));
  EXPECT_EQ(r.rig.host.messages.back().text, "Not a valid QVX signal file");
  EXPECT_TRUE(openFileFromCommandLine(t, "spec.fft"));
  EXPECT_EQ(t.OperatingMode, 4) << "a spectrum is shown in FFT mode";
  EXPECT_EQ(t.FftDoneA, 1);
  EXPECT_TRUE(t.panel.Timer2.enabled());
}

}  // namespace
}  // namespace qvx
