#include "platform/user32/qt/frame_widget.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <algorithm>
#include <cmath>

#include "platform/user32/qt/client_widget.h"
#include "platform/user32/qt/widget_binding.h"
#include "platform/user32/qt/x11_window_manager.h"
#include "platform/user32/system_events.h"

namespace win32::user32 {

FrameWidget::FrameWidget(HWND hwnd) : QWidget(nullptr), hwnd_(hwnd) {
  BindWidget(this, hwnd);
  setAttribute(Qt::WA_DeleteOnClose, false);
  setAttribute(Qt::WA_QuitOnClose, false);
  // Whatever the menu bar and the client area leave uncovered is painted black here.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
}

void FrameWidget::SetClient(ClientWidget* client) {
  client_ = client;
  setFocusProxy(client);
}

void FrameWidget::SetMenuBar(QMenuBar* menuBar) {
  if (menuBar_ == menuBar) return;
  if (menuBar_) delete menuBar_.data();
  menuBar_ = menuBar;
  barScale_ = 1;  // a new bar has its usual font
  measuredWidth_ = -1;
  if (menuBar_) {
    menuBar_->setParent(this);
    menuBar_->show();
  }
}

int FrameWidget::MenuBarHeightFor(int width) {
  if (!menuBar_) return 0;
  // While the bar is drawn larger, its height at its usual size: as measured last at this
  // width, else measured again at its usual size for a moment.
  if (barScale_ != 1 && width == measuredWidth_) return measuredHeight_;
  double scale = barScale_;
  ScaleMenuBar(1);
  int h = menuBar_->heightForWidth(width);
  measuredWidth_ = width;
  measuredHeight_ = h > 0 ? h : menuBar_->sizeHint().height();
  ScaleMenuBar(scale);
  return measuredHeight_;
}

void FrameWidget::ScaleMenuBar(double scale) {
  if (scale == barScale_) return;
  // The bar's text grows with it, as it would on a screen of that mode.
  QFont font;  // resolves to the bar's usual font
  if (scale != 1) {
    font = QApplication::font(menuBar_);
    if (font.pointSizeF() > 0) {
      font.setPointSizeF(font.pointSizeF() * scale);
    } else {
      font.setPixelSize(static_cast<int>(font.pixelSize() * scale));
    }
  }
  menuBar_->setFont(font);
  barScale_ = scale;
}

void FrameWidget::LayOut(const QRect& area, int barHeight, double scale, bool smooth, const QRect& screen) {
  screen_ = screen;
  if (menuBar_) {
    ScaleMenuBar(scale);
    menuBar_->setGeometry(area.x(), area.y(), area.width(), barHeight);
  }
  if (client_) {
    client_->SetScale(scale, smooth);
    client_->setGeometry(area.x(), area.y() + barHeight, area.width(), std::max(0, area.height() - barHeight));
  }
}

void FrameWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(event->rect(), Qt::black);
}

void FrameWidget::mouseMoveEvent(QMouseEvent* event) {
  // Outside the program's screen the pointer stands where it would stop at the screen's edge:
  // so the menu bar of a full-screen window still comes at the output's top edge.
  if (screen_.isNull() || !client_) return;
  QPoint at = event->position().toPoint();
  at.setX(std::clamp(at.x(), screen_.left(), screen_.right()));
  at.setY(std::clamp(at.y(), screen_.top(), screen_.bottom()));
  if (!client_->geometry().contains(at)) return;
  QMouseEvent moved(QEvent::MouseMove, QPointF(client_->mapFrom(this, at)), event->globalPosition(), event->button(),
                    event->buttons(), event->modifiers());
  QCoreApplication::sendEvent(client_, &moved);
}

bool FrameWidget::event(QEvent* event) {
  if (event->type() == QEvent::Show) ReportGeometry();
  return QWidget::event(event);
}

void FrameWidget::resizeEvent(QResizeEvent*) { ReportGeometry(); }

void FrameWidget::moveEvent(QMoveEvent*) { ReportGeometry(); }

void FrameWidget::ReportGeometry() {
  if (isVisible()) NoteSystemGeometry(hwnd_, geometry());
}

void FrameWidget::closeEvent(QCloseEvent* event) {
  // Closing is the program's decision: the window hears WM_SYSCOMMAND SC_CLOSE.
  event->ignore();
  NoteSystemClose(hwnd_);
}

void FrameWidget::changeEvent(QEvent* event) {
  // On X11 the window manager's own word comes through x11_window_manager instead.
  if (event->type() == QEvent::WindowStateChange && !x11::WatchesWindowManager()) {
    NoteSystemWindowState(hwnd_, isMaximized(), isMinimized(), isFullScreen());
  }
  QWidget::changeEvent(event);
}

}  // namespace win32::user32
