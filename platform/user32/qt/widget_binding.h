// Which window a Qt widget shows.
#pragma once

#include "platform/win32_types.h"

class QObject;
class QWidget;

namespace win32::user32 {

void BindWidget(QWidget* widget, HWND hwnd);

// The window of this widget, or null for Qt's own widgets (menus, the menu bar).
HWND HwndOfWidget(const QObject* widget);

// The widget that shows a window's contents and takes its input: the client widget of a
// window the program draws, the control's widget of a control. Null without Qt.
QWidget* InputWidgetOf(HWND hwnd);

}  // namespace win32::user32
