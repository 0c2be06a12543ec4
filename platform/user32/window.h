// A window as the platform keeps it: the Win32 state (class, procedure, styles, text,
// geometry, update region) and the Qt widgets that show it.
#pragma once

#include <QMargins>
#include <QPointer>
#include <QRect>
#include <QRegion>
#include <QWidget>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gdi32/pixel_buffer.h"
#include "platform/user32/held_states.h"
#include "platform/user32/user32.h"
#include "platform/user32/window_class.h"

namespace win32::user32 {

class ThreadQueue;
class ClientWidget;

// State that only some kinds of window have (a dialog, an edit control...).
struct WindowExtension {
  virtual ~WindowExtension() = default;
};

struct Window {
  HWND handle = nullptr;
  std::shared_ptr<const WindowClass> windowClass;
  WNDPROC proc = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  LONG_PTR id = 0;  // GWL_ID: the control id of a child window
  LONG_PTR userData = 0;
  HINSTANCE instance = nullptr;
  HWND parent = nullptr;              // the parent of a child window
  HWND owner = nullptr;               // the owner of a top-level window
  std::vector<HWND> children;         // in creation order, which is also the tab order
  std::string text;                   // code page 932
  HMENU menu = nullptr;               // the attached menu of a top-level window
  HWND lastFocus = nullptr;           // a top-level window's control that had the focus last
  std::vector<std::byte> extraBytes;  // cbWndExtra
  bool enabled = true;
  bool destroying = false;

  std::shared_ptr<ThreadQueue> queue;  // of the thread that created the window

  // Geometry, kept by window_geometry. A top-level window's `inner` is the part of the window
  // inside the window manager's decoration (menu bar and client area) in screen coordinates;
  // the window rectangle adds the decoration `frame`, and the client area is `inner` below
  // the menu bar. A child window's `inner` is its client area in its parent's client
  // coordinates. While the window manager holds a top-level window (maximised, minimised,
  // full screen) its Qt widget may differ from `inner`.
  QRect inner;
  QMargins frame;
  bool decorated = false;     // the window manager draws a title bar and border around it
  QMargins normalDecoration;  // the frame it drew last around the window in its normal state
  int menuBarHeight = 0;
  bool maximized = false;
  bool minimized = false;
  bool fullScreen = false;      // the window manager keeps it over the whole screen
  bool placedBySystem = false;  // created with CW_USEDEFAULT: the window manager chooses the place
  QRect normalInner;            // where a maximised window goes back to
  QRect maximizedOuter;         // where a maximised window was when the program moved it away
  // The geometry last handed to the window manager while it is given time to carry it out,
  // and its last report that differs from it; whether it was asked a second time.
  std::optional<QRect> awaitedInner;
  std::optional<QRect> reportedInner;
  bool insisted = false;
  unsigned awaitGeneration = 0;
  bool pushingToQt = false;  // Qt's reports during our own change are echoes
  bool syncPosted = false;   // the window manager is to hear of the window's changes
  bool heldAtSync = false;   // the window manager held the window when it heard of it last
  QRect syncedInner;         // where it last heard the window was, not held
  // The states last asked of the window manager while it has not been seen to take them (its
  // reports meanwhile are steps on the way, or answers to older requests), and its last word.
  std::optional<HeldStates> askedStates;
  HeldStates reportedStates;
  unsigned stateGeneration = 0;

  // Painting.
  std::shared_ptr<gdi::PixelBuffer> buffer;
  QRegion updateRegion;
  bool erasePending = false;
  bool internalPaint = false;

  // Qt. `widget` is the top-level frame or the control's own widget; `client` shows the
  // pixel buffer (null for controls drawn by Qt).
  QPointer<QWidget> widget;
  QPointer<ClientWidget> client;
  std::unique_ptr<QWidget> ownedWidget;  // a top-level window's frame; Qt's parents own the rest

  std::unique_ptr<WindowExtension> extension;

  bool IsChild() const { return (style & WS_CHILD) != 0; }
  bool IsVisible() const { return (style & WS_VISIBLE) != 0; }
  // True while the window manager, not the program, decides where a top-level window's
  // widget goes (maximised, minimised, full screen).
  bool HeldByWindowManager() const { return !IsChild() && (maximized || minimized || fullScreen); }
  QSize ClientSize() const {
    if (minimized) return QSize(0, 0);
    return QSize(inner.width(), std::max(0, inner.height() - menuBarHeight));
  }
  // The client area's origin in screen coordinates (top-level) or in the parent's client
  // coordinates (child).
  QPoint ClientOrigin() const { return inner.topLeft() + QPoint(0, menuBarHeight); }
  QRect WindowRect() const { return inner.marginsAdded(frame); }

  template <typename T>
  T* Extension() {
    return dynamic_cast<T*>(extension.get());
  }
  // The extension of kind T, made on first use.
  template <typename T>
  T& EnsureExtension() {
    if (!Extension<T>()) extension = std::make_unique<T>();
    return *Extension<T>();
  }
};

}  // namespace win32::user32
