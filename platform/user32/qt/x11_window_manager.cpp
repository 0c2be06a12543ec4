#include "platform/user32/qt/x11_window_manager.h"

#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <thread>

#include "platform/common/immortal.h"
#include "platform/user32/qt/widget_binding.h"
#include "platform/user32/system_events.h"

namespace win32::user32::x11 {
namespace {

using Reply = std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)>;

xcb_connection_t* Connection() {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 ? x11->connection() : nullptr;
}

// An atom of the connection, asked for once.
xcb_atom_t Atom(xcb_connection_t* c, const std::string& name) {
  struct Known {
    xcb_connection_t* connection = nullptr;
    std::map<std::string, xcb_atom_t> atoms;
  };
  static Immortal<Known> known;
  auto& atoms = known->atoms;
  if (known->connection != c) {
    known->connection = c;
    atoms.clear();
  }
  if (auto found = atoms.find(name); found != atoms.end()) return found->second;
  std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(name.size()), name.data()), nullptr),
      &std::free);
  xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  if (atom != XCB_ATOM_NONE) atoms.emplace(name, atom);
  return atom;
}

xcb_window_t Root(xcb_connection_t* c) { return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root; }

Reply Property(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property, xcb_atom_t type, std::uint32_t longs) {
  return Reply(xcb_get_property_reply(c, xcb_get_property(c, 0, window, property, type, 0, longs), nullptr),
               &std::free);
}

std::optional<QMargins> ReadExtents(xcb_connection_t* c, xcb_window_t window) {
  Reply reply = Property(c, window, Atom(c, "_NET_FRAME_EXTENTS"), XCB_ATOM_CARDINAL, 4);
  if (!reply || reply->format != 32 || reply->value_len != 4) return std::nullopt;
  const auto* v = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
  // left, right, top, bottom
  return QMargins(static_cast<int>(v[0]), static_cast<int>(v[2]), static_cast<int>(v[1]), static_cast<int>(v[3]));
}

bool WindowManagerSupports(xcb_connection_t* c, const std::string& hint) {
  xcb_atom_t wanted = Atom(c, hint);
  Reply reply = Property(c, Root(c), Atom(c, "_NET_SUPPORTED"), XCB_ATOM_ATOM, 4096);
  if (!reply || reply->format != 32) return false;
  const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
  for (std::uint32_t i = 0; i < reply->value_len; ++i) {
    if (atoms[i] == wanted) return true;
  }
  return false;
}

// Sends the window manager a request about `window` (EWMH: a client message to the root
// window), with up to four words of data.
void SendRequest(xcb_connection_t* c, xcb_window_t window, const std::string& type,
                 std::initializer_list<std::uint32_t> data) {
  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = window;
  message.type = Atom(c, type);
  std::copy(data.begin(), data.end(), message.data.data32);
  xcb_send_event(c, 0, Root(c), XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                 reinterpret_cast<const char*>(&message));
}

xcb_window_t WindowOf(const QWidget* topLevel) {
  return topLevel && topLevel->windowHandle() ? static_cast<xcb_window_t>(topLevel->winId())
                                              : xcb_window_t{XCB_WINDOW_NONE};
}

// The name the window manager gives itself on its check window (EWMH), read once per
// connection.
std::string WindowManagerName(xcb_connection_t* c) {
  struct Known {
    xcb_connection_t* connection = nullptr;
    std::string name;
  };
  static Immortal<Known> known;
  if (known->connection == c) return known->name;
  known->connection = c;
  known->name.clear();
  Reply check = Property(c, Root(c), Atom(c, "_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW, 1);
  if (!check || check->format != 32 || check->value_len != 1) return {};
  auto window = *static_cast<const xcb_window_t*>(xcb_get_property_value(check.get()));
  Reply name = Property(c, window, Atom(c, "_NET_WM_NAME"), Atom(c, "UTF8_STRING"), 64);
  if (name && name->format == 8) {
    known->name.assign(static_cast<const char*>(xcb_get_property_value(name.get())), name->value_len);
  }
  return known->name;
}

// The states the window manager holds a window in, as it says in _NET_WM_STATE.
HeldStates ReadStates(xcb_connection_t* c, xcb_window_t window) {
  HeldStates states;
  Reply reply = Property(c, window, Atom(c, "_NET_WM_STATE"), XCB_ATOM_ATOM, 64);
  if (!reply || reply->format != 32) return states;
  const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
  bool vertical = false, horizontal = false;
  for (std::uint32_t i = 0; i < reply->value_len; ++i) {
    vertical |= atoms[i] == Atom(c, "_NET_WM_STATE_MAXIMIZED_VERT");
    horizontal |= atoms[i] == Atom(c, "_NET_WM_STATE_MAXIMIZED_HORZ");
    states.minimized |= atoms[i] == Atom(c, "_NET_WM_STATE_HIDDEN");
    states.fullScreen |= atoms[i] == Atom(c, "_NET_WM_STATE_FULLSCREEN");
  }
  states.maximized = vertical && horizontal;
  return states;
}

// Passes on what the window manager says of our windows, as it says it: the frames it draws
// and the states it holds them in. The states are read from the window manager's own word
// rather than from Qt's, which also echoes what the program asked for before the window
// manager has done it.
class WindowManagerFilter final : public QAbstractNativeEventFilter {
 public:
  bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
    if (type != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_PROPERTY_NOTIFY) return false;
    const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(event);
    xcb_connection_t* c = Connection();
    if (!c || (notify->atom != extentsAtom_ && notify->atom != statesAtom_)) return false;
    QWidget* widget = QWidget::find(static_cast<WId>(notify->window));
    HWND hwnd = widget && widget->isWindow() ? HwndOfWidget(widget) : nullptr;
    if (!hwnd) return false;
    if (notify->atom == extentsAtom_) {
      NoteFrameExtents(hwnd, ReadExtents(c, notify->window).value_or(QMargins()));
    } else {
      HeldStates states = ReadStates(c, notify->window);
      NoteSystemWindowState(hwnd, states.maximized, states.minimized, states.fullScreen);
    }
    return false;  // Qt has its own use for property changes
  }

  void Install(xcb_connection_t* c) {
    if (installedOn_ == qGuiApp) return;
    extentsAtom_ = Atom(c, "_NET_FRAME_EXTENTS");
    statesAtom_ = Atom(c, "_NET_WM_STATE");
    qGuiApp->installNativeEventFilter(this);
    installedOn_ = qGuiApp;
  }

  bool Installed() const { return installedOn_ && installedOn_ == qGuiApp; }

 private:
  xcb_atom_t extentsAtom_ = XCB_ATOM_NONE;
  xcb_atom_t statesAtom_ = XCB_ATOM_NONE;
  const QGuiApplication* installedOn_ = nullptr;
};

WindowManagerFilter& TheFilter() {
  static Immortal<WindowManagerFilter> filter;
  return *filter;
}

}  // namespace

std::optional<QMargins> RequestFrameExtents(const QWidget* topLevel, std::chrono::milliseconds patience) {
  xcb_connection_t* c = Connection();
  xcb_window_t window = WindowOf(topLevel);
  if (!c || window == XCB_WINDOW_NONE || !WindowManagerSupports(c, "_NET_REQUEST_FRAME_EXTENTS")) return std::nullopt;
  SendRequest(c, window, "_NET_REQUEST_FRAME_EXTENTS", {});
  xcb_flush(c);
  // The answer is a property on the window: asked for directly, so that no event of Qt's is
  // read (and no window procedure called) while the window is being created.
  auto deadline = std::chrono::steady_clock::now() + patience;
  for (;;) {
    if (auto extents = ReadExtents(c, window)) return extents;
    if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

void RequestStates(QWidget* topLevel, bool maximized, bool fullScreen) {
  xcb_connection_t* c = Connection();
  xcb_window_t window = WindowOf(topLevel);
  if (!c || window == XCB_WINDOW_NONE || !topLevel->isVisible()) return;
  auto request = [&](bool on, xcb_atom_t first, xcb_atom_t second) {
    constexpr std::uint32_t kRemove = 0, kAdd = 1, kFromApplication = 1;
    SendRequest(c, window, "_NET_WM_STATE", {on ? kAdd : kRemove, first, second, kFromApplication});
  };
  request(maximized, Atom(c, "_NET_WM_STATE_MAXIMIZED_VERT"), Atom(c, "_NET_WM_STATE_MAXIMIZED_HORZ"));
  request(fullScreen, Atom(c, "_NET_WM_STATE_FULLSCREEN"), XCB_ATOM_NONE);
  xcb_flush(c);
}

bool ResizeStepsHoldWhenMaximised() {
  xcb_connection_t* c = Connection();
  return c && WindowManagerName(c) == "KWin";
}

void WatchWindowManager() {
  if (xcb_connection_t* c = Connection()) TheFilter().Install(c);
}

bool WatchesWindowManager() {
  xcb_connection_t* c = Connection();
  return c && TheFilter().Installed() && !WindowManagerName(c).empty();
}

std::optional<HeldStates> StatesOf(const QWidget* topLevel) {
  xcb_connection_t* c = Connection();
  xcb_window_t window = WindowOf(topLevel);
  if (!c || window == XCB_WINDOW_NONE) return std::nullopt;
  return ReadStates(c, window);
}

}  // namespace win32::user32::x11
