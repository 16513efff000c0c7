#pragma once
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <functional>

#include "panel/picture.h"
#include "panel/widget.h"
#include "ui/picture_painter.h"

namespace qvx::ui {

// Called after the skin has passed an event to the model, so the window shows its effect.
using AfterEvent = std::function<void()>;

// A panel button: mouse down, mouse up, click and key presses go to the model's handlers.
class SkinButton : public QPushButton {
  Q_OBJECT
 public:
  SkinButton(Button& model, AfterEvent after, QWidget* parent);
  Button& model() { return model_; }
  // Where the caption is drawn, fitted in its font (ui/text_fit.h).
  QRect captionRoom() const;

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void paintEvent(QPaintEvent* e) override;

 private:
  Button& model_;
  AfterEvent after_;
};

// A picture area: shows the model's drawing, replayed into an image the size of the
// widget; clicks and keys go to the model's handlers.
class SkinPicture : public QWidget {
  Q_OBJECT
 public:
  SkinPicture(PictureArea& model, AfterEvent after, QWidget* parent);
  PictureArea& model() { return model_; }
  // Repaints the image from the model's new operations; true when it changed.
  bool refresh(double pixelsPerTwip);
  // The model's whole drawing painted afresh, as refresh would show it from scratch.
  QImage freshImage(double pixelsPerTwip) const;
  // Where the shown controls inside this picture are, in its pixels.
  std::vector<QRect> controlRects() const;
  const QImage& image() const { return image_; }
  void takeTabStop();
  void setReduction(bool on) {
    painter_.setReduction(on);
    painter_.invalidate();
  }

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;

 private:
  // A pointer event at a place in the widget, in the picture's user units.
  PointerEvent pointerAt(PointerEvent::Kind kind, QPointF at, Qt::KeyboardModifiers mods) const;
  PictureArea& model_;
  AfterEvent after_;
  QImage image_;
  PicturePainter painter_;
  bool pressed_ = false;
};

// A text box: the typing goes into the model's text; an entry field's Enter, Escape and
// the focus leaving it go to the model's handlers.
class SkinLineEdit : public QLineEdit {
  Q_OBJECT
 public:
  SkinLineEdit(TextBox& model, AfterEvent after, QWidget* parent);

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;

 private:
  TextBox& model_;
  AfterEvent after_;
};

// The key code a panel key handler expects: the character typed, or Qt's key code.
int panelKey(const QKeyEvent* e);

}  // namespace qvx::ui
