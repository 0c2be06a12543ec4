#include "platform/user32/screen_view.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

#include "platform/user32/display/current_mode.h"
#include "platform/user32/display/screen_fit.h"
#include "platform/user32/qt/event_pump.h"
#include "platform/user32/work_area.h"

namespace win32::user32 {
namespace {

int Scaled(int length, double scale) { return static_cast<int>(std::lround(length * scale)); }

}  // namespace

ScreenView ScreenView::In(const QRect& area) {
  QRect screen = ScreenArea();
  display::ScreenFit fit = display::FitScreen(screen.width(), screen.height(), area.width(), area.height());
  ScreenView view;
  view.screenOrigin_ = screen.topLeft();
  view.placed_ = area.topLeft() + QPoint(fit.x, fit.y);
  view.scale_ = fit.scale;
  view.smooth_ = fit.smooth;
  return view;
}

ScreenView ScreenView::OnDesktop() {
  if (!display::ScreenIsEmulated()) return ScreenView();
  display::ScreenMode desktop = display::DesktopScreenMode();
  QRect output(ScreenArea().topLeft(), QSize(desktop.width, desktop.height));
  if (qt::RunsQt()) {
    if (QScreen* screen = QGuiApplication::primaryScreen()) output = screen->geometry();
  }
  return In(output);
}

QPoint ScreenView::ToOutput(QPoint p) const {
  QPoint d = p - screenOrigin_;
  return placed_ + QPoint(Scaled(d.x(), scale_), Scaled(d.y(), scale_));
}

QPoint ScreenView::FromOutput(QPoint p) const {
  QPoint d = p - placed_;
  return screenOrigin_ + QPoint(Scaled(d.x(), 1 / scale_), Scaled(d.y(), 1 / scale_));
}

QRect ScreenView::ToOutput(const QRect& r) const {
  QPoint topLeft = ToOutput(r.topLeft());
  QPoint bottomRight = ToOutput(r.topLeft() + QPoint(r.width(), r.height()));
  return QRect(topLeft, QSize(bottomRight.x() - topLeft.x(), bottomRight.y() - topLeft.y()));
}

}  // namespace win32::user32
