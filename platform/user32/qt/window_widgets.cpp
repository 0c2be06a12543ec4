#include "platform/user32/qt/window_widgets.h"

#include <QIcon>
#include <QImage>
#include <QMenuBar>
#include <QPixmap>
#include <QWindow>

#include "platform/common/codepage.h"
#include "platform/resources/resource_formats.h"
#include "platform/user32/cursors.h"
#include "platform/user32/frame_metrics.h"
#include "platform/user32/qt/client_widget.h"
#include "platform/user32/qt/frame_widget.h"
#include "platform/user32/qt/input_bridge.h"
#include "platform/user32/qt/widget_binding.h"
#include "platform/user32/qt/window_manager.h"
#include "platform/user32/qt/x11_class_hint.h"
#include "platform/user32/qt/x11_window_manager.h"
#include "platform/user32/window_table.h"

namespace win32::user32 {
namespace {

// A resize step larger than any screen.
constexpr int kNoDraggingStep = 32767;

void AddIconImages(QIcon& icon, HICON handle) {
  if (!handle) return;
  const auto* images = res::IconImages(handle);
  if (!images) return;
  for (const res::IconImage& image : *images) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() < static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height)) {
      continue;
    }
    QImage copy(reinterpret_cast<const uchar*>(image.pixels.data()), image.width, image.height, image.width * 4,
                QImage::Format_ARGB32);
    icon.addPixmap(QPixmap::fromImage(copy.copy()));
  }
}

void ApplyClassCursor(Window& w, QWidget* widget) {
  if (auto shape = CursorShapeOf(w.windowClass->cursor)) widget->setCursor(*shape);
}

}  // namespace

void BuildWidgets(Window& w) {
  HWND hwnd = w.handle;
  if (w.IsChild()) {
    // Inside the widget that shows the parent's contents.
    QWidget* parent = InputWidgetOf(w.parent);
    QWidget* widget = nullptr;
    if (w.windowClass->widgetFactory) {
      widget = w.windowClass->widgetFactory(w, parent);
      InstallInputBridge(widget, false);
    } else {
      auto* client = new ClientWidget(hwnd, w.buffer, parent);  // owned by its Qt parent
      w.client = client;
      widget = client;
      InstallInputBridge(widget, true);
      ApplyClassCursor(w, widget);
    }
    BindWidget(widget, hwnd);
    w.widget = widget;
    widget->setGeometry(w.inner);
    ShowEnabled(w);
    widget->setVisible(w.IsVisible());
    return;
  }

  auto frame = std::make_unique<FrameWidget>(hwnd);
  auto* client = new ClientWidget(hwnd, w.buffer, frame.get());  // owned by the frame
  frame->SetClient(client);
  InstallInputBridge(client, true);
  ApplyClassCursor(w, client);
  w.widget = frame.get();
  w.client = client;
  w.ownedWidget = std::move(frame);
  ApplyWindowFlags(w);
  // The native window exists from now on, so that its class hint and the window manager's
  // hints are there before it is mapped.
  w.widget->winId();
  x11::WatchWindowManager();
  SetX11ClassHint(w.widget, w.windowClass->name);
  if (Window* owner = LookupWindow(w.owner); owner && owner->widget && owner->widget->windowHandle()) {
    w.widget->windowHandle()->setTransientParent(owner->widget->windowHandle());
  }
  ShowEnabled(w);
  ShowIcons(w);
  ShowTitle(w);
}

void DestroyWidgets(Window& w) {
  if (w.ownedWidget) {
    w.ownedWidget->hide();
    w.ownedWidget.reset();
  } else if (w.widget) {
    delete w.widget.data();
  }
  w.widget = nullptr;
  w.client = nullptr;
}

void DestroyAllWidgets() {
  for (HWND hwnd : AllWindows()) {
    if (Window* w = LookupWindow(hwnd); w && !w->IsChild()) DestroyWidgets(*w);
  }
  for (HWND hwnd : AllWindows()) {
    if (Window* w = LookupWindow(hwnd)) {
      w->widget = nullptr;
      w->client = nullptr;
      w->extension.reset();  // a dialog's or control's state holds Qt objects too
    }
  }
}

void ApplyWindowFlags(Window& w) {
  if (!w.widget || w.IsChild()) return;
  // While the window manager holds the window full screen no decoration shows: a caption that
  // goes on the way there and comes back on the way out leaves the flags as they are. A window
  // made frameless for a moment would not get its frame back from weston's X window manager,
  // and on Wayland Qt would draw a title strip of its own under the compositor's from then on.
  if (w.fullScreen && !HasDecoration(w.style)) return;
  Qt::WindowFlags flags = w.owner ? Qt::Dialog : Qt::Window;
  if (!HasDecoration(w.style)) {
    flags |= Qt::FramelessWindowHint;
  } else {
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (w.style & WS_SYSMENU) {
      flags |= Qt::WindowSystemMenuHint;
      if (!(w.windowClass->style & CS_NOCLOSE)) flags |= Qt::WindowCloseButtonHint;
    }
    if (w.style & WS_MINIMIZEBOX) flags |= Qt::WindowMinimizeButtonHint;
    if (w.style & WS_MAXIMIZEBOX) flags |= Qt::WindowMaximizeButtonHint;
  }
  if (w.exStyle & WS_EX_TOPMOST) flags |= Qt::WindowStaysOnTopHint;
  if (w.widget->windowFlags() == flags) return;
  if (QWindow* native = w.widget->windowHandle()) {
    // Changed in place: QWidget::setWindowFlags would hide a shown window.
    w.widget->overrideWindowFlags(flags);
    native->setFlags(flags);
  } else {
    w.widget->setWindowFlags(flags);
  }
}

void ApplySizeConstraints(Window& w) {
  if (!w.widget || w.IsChild() || !HasWindowManager() || (w.style & WS_THICKFRAME)) return;
  if (w.style & WS_MAXIMIZEBOX) {
    // Resizable to the window manager, which alone offers to maximise such a window (openbox
    // offers it only to a window it may resize; mutter and KWin ignore the Motif hints' word
    // against resizing), but in normal state only in steps too large for any drag to take.
    // Maximised or full screen the steps are gone, and a window manager that would keep to
    // them when it maximises gets none: there being maximisable matters more.
    if (w.HeldByWindowManager() || x11::ResizeStepsHoldWhenMaximised()) {
      w.widget->setSizeIncrement(0, 0);
      w.widget->setBaseSize(0, 0);
    } else {
      w.widget->setBaseSize(w.inner.size());
      w.widget->setSizeIncrement(kNoDraggingStep, kNoDraggingStep);
    }
    return;
  }
  if (!w.HeldByWindowManager()) w.widget->setFixedSize(w.inner.size());
}

void ReleaseSizeConstraints(Window& w) {
  if (!w.widget || w.IsChild() || !HasWindowManager()) return;
  w.widget->setMinimumSize(0, 0);
  w.widget->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  if ((w.style & WS_THICKFRAME) || w.HeldByWindowManager()) {
    w.widget->setSizeIncrement(0, 0);
    w.widget->setBaseSize(0, 0);
  } else if (w.style & WS_MAXIMIZEBOX) {
    // The steps count from the base size: the program's new size becomes the base first.
    w.widget->setBaseSize(w.inner.size());
  }
}

void ShowEnabled(Window& w) {
  if (!w.widget) return;
  auto* frame = qobject_cast<FrameWidget*>(w.widget.data());
  if (!frame) {
    w.widget->setEnabled(w.enabled);
    return;
  }
  if (w.client) w.client->setEnabled(w.enabled);
  if (QMenuBar* bar = frame->MenuBar()) bar->setAttribute(Qt::WA_TransparentForMouseEvents, !w.enabled);
}

void ShowTitle(Window& w) {
  if (!w.widget || w.IsChild()) return;
  QString title = QString::fromStdU16String(cp932::ToUtf16(w.text));
  // "[*]" is Qt's placeholder for a modified document; doubled it shows as itself.
  title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
  w.widget->setWindowTitle(title);
}

void ShowIcons(Window& w) {
  if (!w.widget || w.IsChild()) return;
  QIcon icon;
  AddIconImages(icon, w.windowClass->icon);
  AddIconImages(icon, w.windowClass->smallIcon);
  if (!icon.isNull()) w.widget->setWindowIcon(icon);
}

}  // namespace win32::user32
