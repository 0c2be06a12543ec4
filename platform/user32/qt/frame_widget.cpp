#include "platform/user32/qt/frame_widget.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QWindow>

#include "platform/user32/qt/client_widget.h"
#include "platform/user32/qt/widget_binding.h"
#include "platform/user32/system_events.h"

namespace win32::user32 {

FrameWidget::FrameWidget(HWND hwnd) : QWidget(nullptr), hwnd_(hwnd) {
  BindWidget(this, hwnd);
  setAttribute(Qt::WA_DeleteOnClose, false);
  setAttribute(Qt::WA_QuitOnClose, false);
}

void FrameWidget::SetClient(ClientWidget* client) {
  client_ = client;
  setFocusProxy(client);
}

void FrameWidget::SetMenuBar(QMenuBar* menuBar) {
  if (menuBar_ && menuBar_ != menuBar) delete menuBar_.data();
  menuBar_ = menuBar;
  if (menuBar_) {
    menuBar_->setParent(this);
    menuBar_->show();
  }
}

int FrameWidget::MenuBarHeightFor(int width) const {
  if (!menuBar_) return 0;
  int h = menuBar_->heightForWidth(width);
  return h > 0 ? h : menuBar_->sizeHint().height();
}

void FrameWidget::LayOut(const QRect& area, int barHeight) {
  if (menuBar_) menuBar_->setGeometry(area.x(), area.y(), area.width(), barHeight);
  if (client_)
    client_->setGeometry(area.x(), area.y() + barHeight, area.width(), std::max(0, area.height() - barHeight));
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
  if (event->type() == QEvent::WindowStateChange) {
    NoteSystemWindowState(hwnd_, isMaximized(), isMinimized(), isFullScreen());
  }
  QWidget::changeEvent(event);
}

}  // namespace win32::user32
