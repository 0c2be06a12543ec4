#include "platform/common/qt_application.h"

#include <QApplication>
#include <cstdlib>
#include <memory>

#include "platform/common/immortal.h"

#include <xcb/xcb.h>

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

// Qt aborts the process when its platform plugin cannot connect, so the X display is
// tried here first, the way Qt's plugin connects (through xcb). Platforms other than X11
// (offscreen, vnc, wayland when chosen explicitly) are trusted as they are.
bool DisplayAvailable(std::string& why) {
  std::string platform = Env("QT_QPA_PLATFORM");
  if (!platform.empty() && platform.rfind("xcb", 0) != 0) return true;
  std::string display = Env("DISPLAY");
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

}  // namespace

QApplication* Application() {
  State& s = TheState();
  if (s.app) return s.app.get();
  if (s.tried) return nullptr;
  s.tried = true;
  if (!DisplayAvailable(s.error)) return nullptr;
  s.app = std::make_unique<QApplication>(s.argc, s.argv);
  return s.app.get();
}

const std::string& ApplicationError() { return TheState().error; }

void ShutdownApplication() { TheState().app.reset(); }

}  // namespace win32::qt
