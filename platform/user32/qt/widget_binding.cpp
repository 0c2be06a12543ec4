#include "platform/user32/qt/widget_binding.h"

#include <QVariant>
#include <QWidget>

#include "platform/user32/qt/client_widget.h"
#include "platform/user32/window_table.h"

namespace win32::user32 {
namespace {
constexpr const char* kProperty = "win32.hwnd";
}

void BindWidget(QWidget* widget, HWND hwnd) {
  widget->setProperty(kProperty, QVariant::fromValue(reinterpret_cast<quintptr>(hwnd)));
}

HWND HwndOfWidget(const QObject* widget) {
  if (!widget) return nullptr;
  QVariant v = widget->property(kProperty);
  return v.isValid() ? reinterpret_cast<HWND>(v.value<quintptr>()) : nullptr;
}

QWidget* InputWidgetOf(HWND hwnd) {
  Window* w = LookupWindow(hwnd);
  if (!w) return nullptr;
  if (w->client) return w->client;
  return w->widget;
}

}  // namespace win32::user32
