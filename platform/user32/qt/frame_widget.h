// The Qt window of a top-level window: the menu bar, when a menu is attached, above the
// client area. Presented full screen on a larger screen than the program's own, the two are
// scaled into their place on it, with black around them.
#pragma once

#include <QMenuBar>
#include <QPointer>
#include <QWidget>

#include "platform/win32_types.h"

namespace win32::user32 {

class ClientWidget;

class FrameWidget final : public QWidget {
  Q_OBJECT

 public:
  explicit FrameWidget(HWND hwnd);

  void SetClient(ClientWidget* client);
  // Takes the menu bar (null removes the current one, which is deleted).
  void SetMenuBar(QMenuBar* menuBar);
  QMenuBar* MenuBar() const { return menuBar_; }

  // The height the menu bar takes at this width (0 without a menu bar), at the window's own
  // scale.
  int MenuBarHeightFor(int width);
  // Places the menu bar (`barHeight` high) and the client area below it in `area`, in this
  // widget's coordinates: the window's own geometry, which may reach past the widget while
  // the window manager holds the widget at another size. `scale`: how many of this widget's
  // pixels stand for one of the window (`smooth`: not a whole number); `screen`: where the
  // program's screen lies in this widget while it is presented scaled, else null.
  void LayOut(const QRect& area, int barHeight, double scale, bool smooth, const QRect& screen);

 protected:
  bool event(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void ReportGeometry();
  void ScaleMenuBar(double scale);

  HWND hwnd_;
  QPointer<ClientWidget> client_;
  QPointer<QMenuBar> menuBar_;
  QRect screen_;  // see LayOut
  double barScale_ = 1;
  int measuredWidth_ = -1;  // the bar's height at its usual size, last measured
  int measuredHeight_ = 0;
};

}  // namespace win32::user32
