// The load and save panels driven through the Qt skin: a capture saved through the save
// panel and loaded back through the load panel, with every step a user's click or key.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <filesystem>

#include "files/file_panels.h"
#include "ui/started_window.h"

namespace qvx::ui {
namespace {

void click(QWidget* w) {
  ASSERT_TRUE(w && w->isVisible()) << (w ? w->objectName().toStdString() : "no widget");
  testing::clickLikeAUser(w);
}

// Typed over the selected text, as keys that each insert their text.
void type(QWidget* w, const QString& text) {
  auto* edit = qobject_cast<QLineEdit*>(w);
  ASSERT_NE(edit, nullptr);
  edit->selectAll();
  QKeyEvent keys(QEvent::KeyPress, 0, Qt::NoModifier, text);
  QApplication::sendEvent(edit, &keys);
}

void chooseRow(QWidget* w, const QString& item) {
  auto* list = qobject_cast<QListWidget*>(w);
  ASSERT_NE(list, nullptr);
  const auto found = list->findItems(item, Qt::MatchExactly);
  ASSERT_EQ(found.size(), 1) << item.toStdString();
  list->setCurrentItem(found.front());
}

struct StartedWindow : testing::StartedWindow {
  // A panel whose EXIT cannot be reached would wait for ever: the window is closed
  // instead, which ends the panel and fails the test.
  StartedWindow() {
    onPump = [this] {
      if (rig.host.pumps > 20000) rig.scope.unloaded = true;
    };
  }
  QWidget* operator[](const char* name) const { return window.widgetFor(name); }
};

TEST(FilePanelsSkin, CaptureSavedThroughTheSavePanelLoadsBackThroughTheLoadPanel) {
  StartedWindow w;
  Scope& s = w.rig.scope;
  click(w["GOBUTTON"]);
  const SampleBuffer savedA = s.BufA, savedC = s.BufC;
  ASSERT_NE(*std::max_element(savedA.begin(), savedA.begin() + 4096), 2048)
      << "one Single capture of the simulated sine and clock";

  std::filesystem::create_directory(w.folder.path() / "traces");
  w.rig.host.afterPumps(2, [&] {
    ASSERT_TRUE(w["filesavewindow"]->isVisible());
    // Into the folder and back out, as a user finds the place to save.
    chooseRow(w["Dir2"], "traces/");
    EXPECT_EQ(s.SaveFolder, (w.folder.path() / "traces").string());
    chooseRow(w["Dir2"], "..");
    type(w["savename"], "capture one.txt");
    click(w["chasavebutton"]);
  });
  click(w["filesavebutton"]);
  EXPECT_FALSE(w["filesavewindow"]->isVisible()) << "a finished save closes the panel";
  ASSERT_EQ(w.rig.host.messages.size(), 1u);
  EXPECT_EQ(w.rig.host.messages[0].title, "Save message");
  EXPECT_EQ(std::filesystem::file_size(w.folder.path() / "capture one.qvx"), 9u + 4 * 4096);

  std::fill(s.BufA.begin(), s.BufA.end(), 2048);
  std::fill(s.BufC.begin(), s.BufC.end(), 2048);
  w.rig.host.afterPumps(2, [&] {
    EXPECT_EQ(qobject_cast<QListWidget*>(w["File1"])->count(), 1)
        << "the saved capture alone: QVXport.cfg is filtered out";
    chooseRow(w["File1"], "capture one.qvx");
    click(w["chaloadbutton"]);
  });
  w.rig.host.afterPumps(4, [&] { click(w["loadexitbutton"]); });
  click(w["fileloadbutton"]);
  EXPECT_FALSE(w["fileloadwindow"]->isVisible());
  EXPECT_EQ(w.rig.host.messages.size(), 1u) << w.rig.host.messages.back().text;
  EXPECT_TRUE(std::equal(s.BufA.begin(), s.BufA.begin() + 4096, savedA.begin()));
  EXPECT_TRUE(std::equal(s.BufC.begin(), s.BufC.begin() + 4096, savedC.begin()));
}

// Every control shown on a panel: none overlaps another and every caption fits its button.
void expectTidy(QWidget* panel, const std::string& what) {
  std::vector<QWidget*> shown;
  for (QWidget* child : panel->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
    if (child->isVisible()) shown.push_back(child);
  ASSERT_GT(shown.size(), 3u) << what;
  for (std::size_t i = 0; i < shown.size(); ++i) {
    for (std::size_t j = i + 1; j < shown.size(); ++j)
      EXPECT_FALSE(shown[i]->geometry().intersects(shown[j]->geometry()))
          << what << ": " << shown[i]->objectName().toStdString() << " and "
          << shown[j]->objectName().toStdString();
    if (auto* b = qobject_cast<QPushButton*>(shown[i])) {
      EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text()) + 8, b->width())
          << what << ": " << b->text().toStdString();
    }
  }
}

TEST(FilePanelsSkin, PanelsOfEveryModeAreTidyAtTwoWindowSizes) {
  StartedWindow w;
  Scope& s = w.rig.scope;
  for (QSize size : {QSize(1190, 800), QSize(800, 545)}) {
    w.window.resize(size);
    for (int mode : {0, 1, 2, 3, 4}) {
      s.OperatingMode = mode;
      const std::string what = std::to_string(size.width()) + " mode " + std::to_string(mode);
      for (auto [open, panel, exit] :
           {std::array{"fileloadbutton", "fileloadwindow", "loadexitbutton"},
            {"filesavebutton", "filesavewindow", "exitsavebutton"}}) {
        w.rig.host.afterPumps(2, [&] {
          expectTidy(w[panel], panel + (" " + what));
          click(w[exit]);
        });
        click(w[open]);
      }
    }
    s.OperatingMode = 1;
    w.rig.host.afterPumps(2, [&] {
      expectTidy(w["fileloadwindow"], "custom form");
      click(w["keepcustombutton"]);
    });
    EXPECT_TRUE(customWaveForm(s));
    ASSERT_FALSE(s.unloaded);
    click(w["UtilButton"]);
    w.window.sync();
    expectTidy(w["UtilBox"], "adjustments");
    click(w["CAGainUp"]);
    click(w["CBOffDn"]);
    click(w["UtilExit"]);
    EXPECT_FALSE(w["UtilBox"]->isVisible());
  }
  EXPECT_EQ(s.panel.CAGainVal.texts(), "1.02     ") << "each size's click reached the model";
  EXPECT_EQ(s.panel.CBOffVal.texts(), "-2");
}

}  // namespace
}  // namespace qvx::ui
