// Window classes: the registry behind RegisterClassExA, and the system classes (dialogs and
// controls) that the platform registers itself.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/user32/user32.h"

class QWidget;

namespace win32::user32 {

struct Window;

// Builds the Qt widget of a child window of a system class (a push button, an edit...).
// The parent widget is the parent window's client widget.
using WidgetFactory = std::function<QWidget*(Window& window, QWidget* parent)>;

struct WindowClass {
  std::string name;  // code page 932, compared without regard to ASCII case
  ATOM atom = 0;
  UINT style = 0;
  WNDPROC proc = nullptr;
  int windowExtra = 0;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HICON smallIcon = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  LPCSTR menuName = nullptr;  // an integer resource or points into menuNameText
  std::string menuNameText;
  bool system = false;
  WidgetFactory widgetFactory;  // system control classes only
};

// The class with this name or atom (an integer resource); null when there is none.
// Program classes are found before system classes of the same name.
std::shared_ptr<const WindowClass> FindClass(LPCSTR nameOrAtom);

// Registers a class of the platform's own (dialogs, controls). Returns its atom.
ATOM RegisterSystemClass(WindowClass windowClass);

}  // namespace win32::user32
