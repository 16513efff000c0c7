#pragma once
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "panel/panel.h"

class QScrollBar;
class QLineEdit;
class QListWidget;

namespace qvx::ui {

class SkinButton;
class SkinPicture;

// The main window: one Qt widget per control of the panel model, created once and
// brought in line with the model by sync(). It holds no behaviour of its own; every
// user action goes to the handler stored in the model, and the window is synced after.
// Twips become pixels at 15 twips a pixel (the layout's natural size) times a uniform
// scale that follows the size of the window, keeping the panel's proportions. The window
// never gets smaller than the natural size, where every caption has been fitted.
class MainWindow : public QWidget {
  Q_OBJECT
 public:
  explicit MainWindow(Panel& panel);
  ~MainWindow() override;

  // Shows the model: geometry, captions, colours, fonts, pictures, scroll bars, focus.
  void sync();
  // Runs when the user closes the window with its close box.
  std::function<void()> onClose;

  QWidget* widgetFor(const std::string& name) const;
  SkinPicture* pictureFor(const std::string& name) const;
  double pixelsPerTwip() const { return pixelsPerTwip_; }
  // Draw long traces column by column (default) or every segment.
  void setTraceReduction(bool on);
  // The window opens at `scale` times the layout's natural size; with 0 (the default) at
  // the comfortable size for its screen (comfortableSize).
  void setOpeningScale(double scale) { openingScale_ = scale; }

 protected:
  void resizeEvent(QResizeEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  struct Entry;
  void build();
  void syncEntry(Entry& e);
  void applyScale();
  void applyTabOrder();
  QRect pixelRect(const Widget& w) const;

  Panel& panel_;
  std::vector<Entry> entries_;
  double pixelsPerTwip_ = 1.0 / 15;
  QPoint origin_;
  QSize canvasTwips_;
  Rect windowPlace_;
  std::string title_, focus_;
  std::vector<std::string> tabOrder_;
  bool syncing_ = false;
  double openingScale_ = 0;
  std::size_t shortcuts_ = 0;  // the model's shortcuts installed so far
};

// About three quarters of the available height of the screen (`available`), at the shape
// of `natural`, narrowed to fit the screen's width, and never below `natural`.
QSize comfortableSize(QSize natural, QSize available);

}  // namespace qvx::ui
