#include "ui/skin_widgets.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "ui/text_fit.h"

namespace qvx::ui {

int panelKey(const QKeyEvent* e) {
  QString t = e->text();
  if (!t.isEmpty() && t[0].unicode() < 128) return t[0].unicode();
  return e->key();
}

SkinButton::SkinButton(Button& model, AfterEvent after, QWidget* parent)
    : QPushButton(parent), model_(model), after_(std::move(after)) {
  setObjectName(QString::fromStdString(model.name));
  setFocusPolicy(Qt::StrongFocus);
  connect(this, &QPushButton::clicked, this, [this] {
    model_.click();
    after_();
  });
}

// The press is shown first, then handed to the model: a held auto-repeat button runs its
// loop inside the mouse-down handler and needs the release to arrive meanwhile.
void SkinButton::mousePressEvent(QMouseEvent* e) {
  QPushButton::mousePressEvent(e);
  if (e->button() != Qt::LeftButton) return;
  model_.mouseDown();
  after_();
}

// Mouse up comes before the click, as the panel's handlers expect.
void SkinButton::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) {
    model_.mouseUp();
    after_();
  }
  QPushButton::mouseReleaseEvent(e);
}

void SkinButton::keyPressEvent(QKeyEvent* e) {
  model_.keyPress(panelKey(e));
  after_();
  QPushButton::keyPressEvent(e);
}

// Inside the one-pixel bevel, with a pixel either side so the caption never touches it.
QRect SkinButton::captionRoom() const {
  return rect().adjusted(2, 1, -2, -1);
}

// A flat instrument key: its face colour, a one-pixel bevel that sinks while pressed,
// and the caption centred without the padding of desktop buttons, which small panel
// keys have no room for.
void SkinButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QRect r = rect().adjusted(0, 0, -1, -1);
  QColor face = palette().color(QPalette::Button);
  p.fillRect(rect(), face);
  bool down = isDown();
  p.setPen(down ? face.darker(160) : face.lighter(140));
  p.drawLine(r.topLeft(), r.topRight());
  p.drawLine(r.topLeft(), r.bottomLeft());
  p.setPen(down ? face.lighter(140) : face.darker(170));
  p.drawLine(r.bottomLeft(), r.bottomRight());
  p.drawLine(r.topRight(), r.bottomRight());
  if (hasFocus()) {
    p.setPen(QPen(face.darker(200), 1, Qt::DotLine));
    p.drawRect(r.adjusted(2, 2, -2, -2));
  }
  const QRect room = captionRoom();
  p.setFont(fittedFont(font(), text(), room.size()));
  p.setPen(isEnabled() ? palette().color(QPalette::ButtonText) : face.darker(150));
  p.drawText(room.translated(down ? 1 : 0, down ? 1 : 0), Qt::AlignCenter, text());
}

SkinPicture::SkinPicture(PictureArea& model, AfterEvent after, QWidget* parent)
    : QWidget(parent), model_(model), after_(std::move(after)) {
  setObjectName(QString::fromStdString(model.name));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::ClickFocus);
}

// A readout that can be typed is visited by Tab as well.
void SkinPicture::takeTabStop() {
  const Qt::FocusPolicy policy = model_.tabStop ? Qt::StrongFocus : Qt::ClickFocus;
  if (focusPolicy() != policy) setFocusPolicy(policy);
}

void SkinPicture::focusInEvent(QFocusEvent*) {
  update();
}

void SkinPicture::focusOutEvent(QFocusEvent*) {
  update();
}

std::vector<QRect> SkinPicture::controlRects() const {
  std::vector<QRect> rects;
  for (const QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (child->isVisibleTo(this)) rects.push_back(child->geometry());
  return rects;
}

bool SkinPicture::refresh(double pixelsPerTwip) {
  QSize want = size().expandedTo(QSize(1, 1));
  if (image_.size() != want) image_ = QImage(want, QImage::Format_RGB32);
  painter_.setControls(controlRects());
  bool changed = painter_.update(model_, image_, pixelsPerTwip);
  if (changed) update();
  return changed;
}

QImage SkinPicture::freshImage(double pixelsPerTwip) const {
  QImage image(image_.size(), QImage::Format_RGB32);
  PicturePainter painter = painter_;
  painter.invalidate();
  painter.update(model_, image, pixelsPerTwip);
  return image;
}

// A readout that takes the focus shows it with a dotted frame, as the buttons do; the
// frame is drawn over the picture, never into it.
void SkinPicture::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, image_);
  if (hasFocus() && model_.tabStop) {
    p.setPen(QPen(QColor(0, 0, 0), 1, Qt::DotLine));
    p.drawRect(rect().adjusted(1, 1, -2, -2));
  }
}

PointerEvent SkinPicture::pointerAt(PointerEvent::Kind kind, QPointF at,
                                    Qt::KeyboardModifiers mods) const {
  PointerEvent e;
  e.kind = kind;
  e.x = model_.ScaleLeft + at.x() / std::max(1, width()) * model_.ScaleWidth();
  e.y = model_.ScaleTop + at.y() / std::max(1, height()) * model_.ScaleHeight();
  e.modifier = mods & (Qt::ShiftModifier | Qt::ControlModifier);
  return e;
}

void SkinPicture::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  pressed_ = true;
  model_.mouseDown();
  model_.pointer(pointerAt(PointerEvent::Kind::Press, e->position(), e->modifiers()));
  after_();
}

void SkinPicture::mouseMoveEvent(QMouseEvent* e) {
  if (!pressed_ || !model_.onPointer) return;
  model_.pointer(pointerAt(PointerEvent::Kind::Move, e->position(), e->modifiers()));
  after_();
}

void SkinPicture::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || !pressed_) return;
  pressed_ = false;
  model_.mouseUp();
  model_.pointer(pointerAt(PointerEvent::Kind::Release, e->position(), e->modifiers()));
  if (rect().contains(e->position().toPoint())) model_.click();
  after_();
}

void SkinPicture::wheelEvent(QWheelEvent* e) {
  if (!model_.onPointer) return QWidget::wheelEvent(e);
  PointerEvent p = pointerAt(PointerEvent::Kind::Wheel, e->position(), e->modifiers());
  p.wheelSteps = e->angleDelta().y() / 120;
  if (p.wheelSteps == 0) return;
  model_.pointer(p);
  after_();
}

void SkinPicture::contextMenuEvent(QContextMenuEvent* e) {
  if (model_.contextMenu.empty()) return QWidget::contextMenuEvent(e);
  QMenu menu(this);
  for (const MenuEntry& entry : model_.contextMenu) {
    QAction* action = menu.addAction(QString::fromStdString(entry.caption));
    action->setCheckable(true);
    action->setChecked(entry.checked);
    connect(action, &QAction::triggered, this, [this, run = entry.action] {
      run();
      after_();
    });
  }
  menu.exec(e->globalPos());
}

SkinLineEdit::SkinLineEdit(TextBox& model, AfterEvent after, QWidget* parent)
    : QLineEdit(parent), model_(model), after_(std::move(after)) {
  connect(this, &QLineEdit::textEdited, this,
          [this](const QString& t) { model_.text = t.toStdString(); });
}

void SkinLineEdit::keyPressEvent(QKeyEvent* e) {
  const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
  if (enter && model_.onEnter) {
    model_.enter();
    after_();
  } else if (e->key() == Qt::Key_Escape && model_.onEscape) {
    model_.escape();
    after_();
  } else {
    QLineEdit::keyPressEvent(e);
  }
}

// A pop-up (the field's own context menu), a message box or another program takes the
// focus only for a while: it comes back to the field afterwards.
void SkinLineEdit::focusOutEvent(QFocusEvent* e) {
  QLineEdit::focusOutEvent(e);
  const Qt::FocusReason why = e->reason();
  if (why == Qt::PopupFocusReason || why == Qt::ActiveWindowFocusReason || !model_.onLeave) return;
  model_.leave();
  after_();
}

void SkinPicture::keyPressEvent(QKeyEvent* e) {
  model_.keyPress(panelKey(e));
  after_();
}

}  // namespace qvx::ui
