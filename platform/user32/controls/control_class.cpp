#include "platform/user32/controls/control_class.h"

#include <utility>

namespace win32::user32 {

LRESULT CALLBACK DefControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      ValidateRect(hwnd, nullptr);
      return 0;
    case WM_ERASEBKGND:
      ValidateRect(hwnd, nullptr);
      return 1;
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

LRESULT KeepAndShowText(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, void (*show)(HWND)) {
  LRESULT result = DefWindowProcA(hwnd, message, wParam, lParam);
  show(hwnd);
  return result;
}

void RegisterControlClass(const char* name, WNDPROC proc, LPCSTR cursor, WidgetFactory factory) {
  WindowClass c;
  c.name = name;
  c.proc = proc;
  c.cursor = LoadCursorA(nullptr, cursor);
  c.widgetFactory = std::move(factory);
  RegisterSystemClass(std::move(c));
}

}  // namespace win32::user32
