#include "platform/user32/qt/qt_ready.h"

#include <QApplication>
#include <QThread>
#include <cerrno>
#include <cstdio>
#include <mutex>

#include "platform/common/qt_application.h"

namespace win32::user32 {

bool QtReady() {
  QApplication* app = win32::qt::Application();
  if (!app) {
    static std::once_flag once;
    std::call_once(once, [] {
      std::fprintf(stderr, "%s: cannot create a window: %s\n", program_invocation_short_name,
                   win32::qt::ApplicationError().c_str());
    });
    return false;
  }
  return app->thread() == QThread::currentThread();
}

}  // namespace win32::user32
