// The Qt window of a top-level window: the menu bar, when a menu is attached, above the
// client area.
#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/win32_types.h"

#include <QMenuBar>

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

  // The height the menu bar takes at this width (0 without a menu bar).
  int MenuBarHeightFor(int width) const;
  // Places the menu bar and the client area inside the frame's current size.
  void LayOut();

  // Starts listening to the native window's expose events; call once it exists.
  void WatchNativeWindow();

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void ReportGeometry();

  HWND hwnd_;
  QPointer<ClientWidget> client_;
  QPointer<QMenuBar> menuBar_;
};

}  // namespace win32::user32
