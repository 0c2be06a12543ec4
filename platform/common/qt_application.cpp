#include "platform/common/qt_application.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/common/immortal.h"

namespace win32::qt {
namespace {

struct State {
  bool tried = false;
  std::unique_ptr<QApplication> app;
  std::string error;
  int argc = 1;
  char name[16] = "porongo";
  char* argv[2] = {name, nullptr};
};

State& TheState() {
  static Immortal<State> state;
  return *state;
}

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// Whether a Wayland compositor answers at $WAYLAND_DISPLAY (a socket name in
// $XDG_RUNTIME_DIR, or a path), as Qt's plugin would connect to it.
bool WaylandAnswers(const std::string& name) {
  std::string path = name;
  if (path.front() != '/') {
    std::string runtime = Env("XDG_RUNTIME_DIR");
    if (runtime.empty()) return false;
    path = runtime + "/" + name;
  }
  sockaddr_un address{};
  if (path.size() >= sizeof address.sun_path) return false;
  address.sun_family = AF_UNIX;
  path.copy(address.sun_path, path.size());
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  bool connected = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return connected;
}

// Qt aborts the process when its platform plugin cannot connect, so the display is tried
// here first: the X display, the way Qt's plugin connects (through xcb), where there is one
// (desktops on Wayland run X11 programs through XWayland), else the Wayland compositor.
// Platforms named in QT_QPA_PLATFORM other than X11 (offscreen, vnc, wayland) are trusted as
// they are.
bool DisplayAvailable(std::string& why) {
  std::string platform = Env("QT_QPA_PLATFORM");
  if (!platform.empty() && platform.rfind("xcb", 0) != 0) return true;
  std::string display = Env("DISPLAY");
  std::string wayland = Env("WAYLAND_DISPLAY");
  if (display.empty() && platform.empty() && !wayland.empty()) {
    if (!WaylandAnswers(wayland)) {
      why = "cannot connect to the Wayland display \"" + wayland + "\"";
      return false;
    }
    setenv("QT_QPA_PLATFORM", "wayland", 1);
    return true;
  }
  if (display.empty()) {
    why = "no display: DISPLAY is not set";
    return false;
  }
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  bool connected = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  if (!connected) {
    why = "cannot open the X display \"" + display + "\"";
    return false;
  }
  if (platform.empty()) setenv("QT_QPA_PLATFORM", "xcb", 1);
  return true;
}

// Qt ends the process (a fatal message, then abort) when the platform that QT_QPA_PLATFORM
// names cannot start: a made-up name, wayland without a compositor, eglfs without a GPU.
// Which plugin starts where cannot be told beforehand, so while the application is being
// made Qt's messages are held back: a fatal one ends the program with the one line a
// player needs (and the status of a program that could not make its window); the others
// are passed on once the application stands.
struct HeldMessage {
  QtMsgType type;
  QByteArray category;
  QString text;
};

std::vector<HeldMessage>& HeldMessages() {
  static Immortal<std::vector<HeldMessage>> held;
  return *held;
}

std::string PlatformProblem(const char* what) {
  return "Qt's platform \"" + Env("QT_QPA_PLATFORM") + "\" (QT_QPA_PLATFORM) " + what;
}

void HoldMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtFatalMsg) {
    std::fprintf(stderr, "%s: cannot create a window: %s\n", program_invocation_short_name,
                 PlatformProblem("cannot start").c_str());
    std::_Exit(1);
  }
  HeldMessages().push_back({type, QByteArray(context.category), text});
}

// The application, or null with `why` when its platform started without a screen (linuxfb
// without a frame buffer does), where the first window would end the process.
std::unique_ptr<QApplication> StartApplication(int& argc, char** argv, std::string& why) {
  QtMessageHandler previous = qInstallMessageHandler(&HoldMessage);
  auto app = std::make_unique<QApplication>(argc, argv);
  const bool screen = !QGuiApplication::screens().isEmpty();
  if (!screen) {
    app.reset();
    why = PlatformProblem("has no screen");
  }
  qInstallMessageHandler(previous);
  if (screen)
    for (const HeldMessage& m : HeldMessages())
      qt_message_output(m.type, QMessageLogContext(nullptr, 0, nullptr, m.category.constData()), m.text);
  HeldMessages().clear();
  return app;
}

}  // namespace

QApplication* Application() {
  State& s = TheState();
  if (s.app) return s.app.get();
  if (s.tried) return nullptr;
  s.tried = true;
  if (!DisplayAvailable(s.error)) return nullptr;
  s.app = StartApplication(s.argc, s.argv, s.error);
  return s.app.get();
}

const std::string& ApplicationError() { return TheState().error; }

void ShutdownApplication() { TheState().app.reset(); }

}  // namespace win32::qt
