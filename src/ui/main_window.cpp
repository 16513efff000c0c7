#include "ui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <algorithm>
#include <cmath>

#include "ui/qt_convert.h"
#include "ui/skin_widgets.h"

namespace qvx::ui {

namespace {
constexpr double kTwipsPerPixel = 15;
// The client area of a main window whose outer size is given: its frame and title bar.
constexpr int kFrameWidth = 150, kFrameHeight = 435;
}  // namespace

// What the skin last showed of one control, so unchanged properties are not re-applied.
struct MainWindow::Entry {
  Widget* model = nullptr;
  QWidget* widget = nullptr;
  SkinButton* button = nullptr;
  SkinPicture* picture = nullptr;
  QScrollBar* bar = nullptr;
  QLineEdit* edit = nullptr;
  QListWidget* list = nullptr;

  QRect rect;
  bool visible = false, enabled = true, fontBold = false;
  double fontSize = -1, fontScale = -1;
  Colour back = 0xFFFFFFFF, fore = 0xFFFFFFFF;
  std::string caption, toolTip;
  std::vector<std::string> items;
};

MainWindow::MainWindow(Panel& panel) : QWidget(nullptr), panel_(panel) {
  setObjectName("MainWindow");
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(0xB8, 0xB8, 0xB8));
  setPalette(pal);
  build();
  qApp->installEventFilter(this);
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (syncing_ || !now) return;
    for (const Entry& e : entries_)
      if (e.widget == now) {
        panel_.focus = e.model->name;
        focus_ = panel_.focus;
      }
  });
  sync();
}

// Focus moves while the child widgets are deleted; by then this is no longer a
// MainWindow, so it must stop listening first. Hidden while still whole, so an open entry
// field hears that the focus left it now rather than from a half-deleted window.
MainWindow::~MainWindow() {
  hide();
  qApp->removeEventFilter(this);
  disconnect(qApp, nullptr, this, nullptr);
}

// Keys typed in this window go to the panel's shortcuts first; the ones they do not take
// reach the control with the focus as before.
bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !panel_.onShortcut) return false;
  auto* target = qobject_cast<QWidget*>(watched);
  if (!target || target->window() != this) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
  if (!panel_.onShortcut(panelKey(key))) return false;
  sync();
  return true;
}

void MainWindow::build() {
  AfterEvent after = [this] { sync(); };
  entries_.reserve(panel_.controls.size());
  for (Widget* w : panel_.controls) {
    QWidget* parent = this;
    for (const Entry& e : entries_)
      if (e.model == w->container) parent = e.widget;
    Entry e;
    e.model = w;
    switch (w->kind) {
      case Widget::Kind::Button:
        e.widget = e.button = new SkinButton(static_cast<Button&>(*w), after, parent);
        break;
      case Widget::Kind::Picture:
        e.widget = e.picture = new SkinPicture(static_cast<PictureArea&>(*w), after, parent);
        break;
      case Widget::Kind::ScrollBar: {
        auto* model = static_cast<ScrollBar*>(w);
        e.widget = e.bar = new QScrollBar(Qt::Horizontal, parent);
        connect(e.bar, &QScrollBar::valueChanged, this, [this, model](int v) {
          model->setValue(v);
          sync();
        });
        break;
      }
      case Widget::Kind::TextBox: {
        auto* model = static_cast<TextBox*>(w);
        e.widget = e.edit = new SkinLineEdit(*model, after, parent);
        // An entry field laid over a readout has no room for a frame.
        if (model->selectWhenShown) e.edit->setFrame(false);
        break;
      }
      case Widget::Kind::ListBox: {
        auto* model = static_cast<ListBox*>(w);
        e.widget = e.list = new QListWidget(parent);
        connect(e.list, &QListWidget::currentRowChanged, this, [this, model](int row) {
          if (syncing_) return;
          model->listIndex = row;
          model->click();
          sync();
        });
        break;
      }
    }
    e.widget->setObjectName(QString::fromStdString(w->name));
    e.widget->hide();
    entries_.push_back(std::move(e));
  }
}

void MainWindow::applyTabOrder() {
  tabOrder_ = panel_.tabOrder;
  QWidget* previous = nullptr;
  for (const std::string& name : tabOrder_) {
    QWidget* next = widgetFor(name);
    if (!next) continue;
    if (previous) setTabOrder(previous, next);
    previous = next;
  }
}

QWidget* MainWindow::widgetFor(const std::string& name) const {
  for (const Entry& e : entries_)
    if (e.model->name == name) return e.widget;
  return nullptr;
}

SkinPicture* MainWindow::pictureFor(const std::string& name) const {
  for (const Entry& e : entries_)
    if (e.model->name == name) return e.picture;
  return nullptr;
}

void MainWindow::setTraceReduction(bool on) {
  for (Entry& e : entries_)
    if (e.picture) e.picture->setReduction(on);
}

QRect MainWindow::pixelRect(const Widget& w) const {
  auto px = [this](int twips) { return static_cast<int>(std::lround(twips * pixelsPerTwip_)); };
  const Rect& p = w.place;
  int left = px(p.left), top = px(p.top);
  QRect r(left, top, px(p.left + p.width) - left, px(p.top + p.height) - top);
  return w.container ? r : r.translated(origin_);
}

// The scale that fits the whole panel into the window, centred, keeping its shape.
void MainWindow::applyScale() {
  int w = 0, h = 0;
  for (const Widget* c : panel_.controls)
    if (!c->container) {
      w = std::max(w, c->place.left + c->place.width);
      h = std::max(h, c->place.top + c->place.height);
    }
  if (w <= 0 || h <= 0) {
    w = std::max(panel_.windowPlace.width - kFrameWidth, 1);
    h = std::max(panel_.windowPlace.height - kFrameHeight, 1);
  }
  canvasTwips_ = QSize(w, h);
  double sx = width() / double(w), sy = height() / double(h);
  pixelsPerTwip_ = std::max(std::min(sx, sy), 0.01);
  origin_ = QPoint(static_cast<int>((width() - w * pixelsPerTwip_) / 2),
                   static_cast<int>((height() - h * pixelsPerTwip_) / 2));
}

QSize comfortableSize(QSize natural, QSize available) {
  constexpr double kShare = 0.75, kWidthShare = 0.95;
  double scale = kShare * available.height() / natural.height();
  scale = std::min(scale, kWidthShare * available.width() / natural.width());
  scale = std::max(scale, 1.0);
  return {static_cast<int>(std::lround(natural.width() * scale)),
          static_cast<int>(std::lround(natural.height() * scale))};
}

void MainWindow::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  sync();
}

void MainWindow::closeEvent(QCloseEvent* e) {
  if (onClose) onClose();
  e->accept();
}

void MainWindow::sync() {
  if (syncing_) return;
  syncing_ = true;
  const Rect& wp = panel_.windowPlace;
  if (wp.left != windowPlace_.left || wp.top != windowPlace_.top ||
      wp.width != windowPlace_.width || wp.height != windowPlace_.height) {
    windowPlace_ = wp;
    if (wp.width > kFrameWidth && wp.height > kFrameHeight) {
      const QSize natural(
          static_cast<int>(std::lround((wp.width - kFrameWidth) / kTwipsPerPixel)),
          static_cast<int>(std::lround((wp.height - kFrameHeight) / kTwipsPerPixel)));
      setMinimumSize(natural);
      const QScreen* screen = this->screen();
      const QRect avail = screen ? screen->availableGeometry() : QRect(QPoint(), natural);
      const QSize size =
          openingScale_ > 0 ? natural * openingScale_ : comfortableSize(natural, avail.size());
      resize(size);
      move(avail.topLeft() + QPoint(std::max(0, (avail.width() - size.width()) / 2),
                                    std::max(0, (avail.height() - size.height()) / 2)));
    }
  }
  if (panel_.title != title_) {
    title_ = panel_.title;
    setWindowTitle(QString::fromStdString(title_));
  }
  // Keys the model gives after the window was built (they are wired at start-up).
  for (; shortcuts_ < panel_.shortcuts.size(); ++shortcuts_) {
    auto* shortcut = new QShortcut(QKeySequence(panel_.shortcuts[shortcuts_].key), this);
    connect(shortcut, &QShortcut::activated, this, [this, i = shortcuts_] {
      panel_.shortcuts[i].action();
      sync();
    });
  }
  applyScale();
  if (panel_.tabOrder != tabOrder_) applyTabOrder();
  for (Entry& e : entries_) syncEntry(e);
  // Pictures last: their texts make room for the controls inside them, placed by now.
  for (Entry& e : entries_)
    if (e.picture) e.picture->refresh(pixelsPerTwip_);
  if (panel_.focus != focus_) {
    focus_ = panel_.focus;
    if (QWidget* w = widgetFor(focus_); w && w->isVisible() && w->isEnabled()) w->setFocus();
  }
  syncing_ = false;
}

void MainWindow::syncEntry(Entry& e) {
  Widget& m = *e.model;
  QRect r = pixelRect(m);
  if (r != e.rect) {
    e.rect = r;
    e.widget->setGeometry(r);
  }
  const bool shownNow = m.visible && !e.visible;
  if (e.picture) e.picture->takeTabStop();
  if (m.visible != e.visible) {
    e.visible = m.visible;
    e.widget->setVisible(m.visible);
  }
  if (m.toolTip != e.toolTip) {
    e.toolTip = m.toolTip;
    e.widget->setToolTip(QString::fromStdString(m.toolTip));
  }
  if (m.enabled != e.enabled) {
    e.enabled = m.enabled;
    e.widget->setEnabled(m.enabled);
  }
  bool fontChanged =
      m.fontSize != e.fontSize || m.fontBold != e.fontBold || pixelsPerTwip_ != e.fontScale;
  if (fontChanged && !e.picture) {
    e.widget->setFont(panelFont(m.fontSize, m.fontBold, pixelsPerTwip_));
  }
  e.fontSize = m.fontSize;
  e.fontBold = m.fontBold;
  e.fontScale = pixelsPerTwip_;
  if (m.backColour != e.back || m.foreColour != e.fore) {
    e.back = m.backColour;
    e.fore = m.foreColour;
    if (!e.picture) {
      QPalette pal = e.widget->palette();
      pal.setColor(QPalette::Button, toQColor(m.backColour));
      pal.setColor(QPalette::Base, toQColor(m.backColour));
      pal.setColor(QPalette::ButtonText, toQColor(m.foreColour));
      pal.setColor(QPalette::Text, toQColor(m.foreColour));
      e.widget->setPalette(pal);
    }
  }
  if (m.toolTip != e.toolTip) {
    e.toolTip = m.toolTip;
    e.widget->setToolTip(QString::fromStdString(m.toolTip));
  }
  if (e.button) {
    const std::string& cap = static_cast<Button&>(m).caption;
    if (cap != e.caption) {
      e.caption = cap;
      e.button->setText(QString::fromStdString(cap));
    }
  } else if (e.bar) {
    auto& s = static_cast<ScrollBar&>(m);
    QSignalBlocker block(e.bar);
    if (e.bar->minimum() != std::min(s.Min, s.Max) || e.bar->maximum() != std::max(s.Min, s.Max))
      e.bar->setRange(std::min(s.Min, s.Max), std::max(s.Min, s.Max));
    if (e.bar->singleStep() != s.SmallChange) e.bar->setSingleStep(s.SmallChange);
    if (e.bar->pageStep() != s.LargeChange) e.bar->setPageStep(s.LargeChange);
    if (e.bar->value() != s.value()) e.bar->setValue(s.value());
  } else if (e.edit) {
    const std::string& text = static_cast<TextBox&>(m).text;
    if (text != e.caption) {
      e.caption = text;
      if (e.edit->text().toStdString() != text) e.edit->setText(QString::fromStdString(text));
    }
    if (shownNow && static_cast<TextBox&>(m).selectWhenShown) e.edit->selectAll();
  } else if (e.list) {
    auto& l = static_cast<ListBox&>(m);
    QSignalBlocker block(e.list);
    if (l.items != e.items) {
      e.items = l.items;
      e.list->clear();
      for (const std::string& item : l.items) e.list->addItem(QString::fromStdString(item));
    }
    if (e.list->currentRow() != l.listIndex) e.list->setCurrentRow(l.listIndex);
  }
}

}  // namespace qvx::ui
