#include "platform/user32/qt/event_pump.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QThread>
#include <QTimer>
#include <memory>

namespace win32::user32::qt {

bool RunsQt() {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app || QCoreApplication::closingDown()) return false;
  // Asked often, from every thread that posts: the answer is kept per thread and application.
  thread_local const QCoreApplication* askedFor = nullptr;
  thread_local bool answer = false;
  if (askedFor != app) {
    askedFor = app;
    answer = app->thread() == QThread::currentThread();
  }
  return answer;
}

void ProcessPendingEvents() {
  if (!RunsQt()) return;
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  // Qt deletes what was given to deleteLater() when control returns to an event loop; the
  // message loop is ours, so it says when. The platform never reads the queue from inside a
  // Qt event handler, so no object being deleted is in use further up the stack.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void WaitForEvents(std::optional<Clock::time_point> deadline) {
  // A single-shot timer ends the wait at the deadline; its own event is what wakes the loop.
  std::unique_ptr<QTimer> alarm;
  if (deadline) {
    auto remaining = std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now()).count();
    if (remaining <= 0) {
      ProcessPendingEvents();
      return;
    }
    alarm = std::make_unique<QTimer>();
    alarm->setTimerType(Qt::PreciseTimer);
    alarm->setSingleShot(true);
    alarm->start(static_cast<int>(std::min<long long>(remaining, 0x7FFFFFFF)));
  }
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void WakeEventLoop() {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return;
  if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(app->thread())) {
    dispatcher->wakeUp();
  }
}

}  // namespace win32::user32::qt
