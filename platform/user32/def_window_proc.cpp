// DefWindowProcA: what a window does with the messages its procedure passes on.
#include "platform/common/codepage.h"
#include "platform/user32/menus/menu_bar.h"
#include "platform/user32/menus/menu_key.h"
#include "platform/user32/painting.h"
#include "platform/user32/qt/window_widgets.h"
#include "platform/user32/text_buffer.h"
#include "platform/user32/window_geometry.h"
#include "platform/user32/window_table.h"

namespace win32::user32 {
namespace {

LRESULT EraseBackground(HWND hwnd, HDC dc) {
  Window* w = LookupWindow(hwnd);
  if (!w || !w->windowClass->background) return 0;
  QSize client = w->ClientSize();
  RECT area{0, 0, client.width(), client.height()};
  FillRect(dc, &area, w->windowClass->background);
  return 1;
}

LRESULT SystemCommand(HWND hwnd, WPARAM command, LPARAM lParam) {
  switch (command & 0xFFF0) {
    case SC_CLOSE:
      SendMessageA(hwnd, WM_CLOSE, 0, 0);
      break;
    case SC_KEYMENU: {
      auto letter = static_cast<unsigned char>(lParam & 0xFF);
      char16_t c = letter < 0x80 ? static_cast<char16_t>(letter) : 0;
      if (!OpenMenuFromKeyboard(hwnd, c) && letter) MessageBeep(0);
      break;
    }
    case SC_MINIMIZE:
      ShowWindow(hwnd, SW_MINIMIZE);
      break;
    case SC_MAXIMIZE:
      ShowWindow(hwnd, SW_MAXIMIZE);
      break;
    case SC_RESTORE:
      ShowWindow(hwnd, SW_RESTORE);
      break;
    default:
      break;
  }
  return 0;
}

LRESULT WindowPosChanged(HWND hwnd, const WINDOWPOS* pos) {
  Window* w = LookupWindow(hwnd);
  if (!w || !pos) return 0;
  if (!(pos->flags & kNoClientMove)) {
    QPoint origin = w->ClientOrigin();
    SendMessageA(hwnd, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(origin.x()), static_cast<WORD>(origin.y())));
    w = LookupWindow(hwnd);
    if (!w) return 0;
  }
  if (!(pos->flags & kNoClientSize) || (pos->flags & SWP_STATECHANGED)) {
    WPARAM kind = w->minimized ? SIZE_MINIMIZED : w->maximized ? SIZE_MAXIMIZED : SIZE_RESTORED;
    QSize size = w->ClientSize();
    SendMessageA(hwnd, WM_SIZE, kind, MAKELPARAM(size.width(), size.height()));
  }
  return 0;
}

LRESULT SetText(HWND hwnd, LPCSTR text) {
  Window* w = LookupWindow(hwnd);
  if (!w) return FALSE;
  w->text = text && !IS_INTRESOURCE(text) ? text : "";
  ShowTitle(*w);
  return TRUE;
}

}  // namespace
}  // namespace win32::user32

using namespace win32::user32;

LRESULT WINAPI DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = LookupWindow(hwnd);
  if (!w) return 0;
  switch (message) {
    case WM_NCCREATE: {
      auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      if (create && create->lpszName) SetText(hwnd, create->lpszName);
      return TRUE;
    }
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_ERASEBKGND:
      return EraseBackground(hwnd, reinterpret_cast<HDC>(wParam));
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_SETTEXT:
      return SetText(hwnd, reinterpret_cast<LPCSTR>(lParam));
    case WM_GETTEXT:
      return static_cast<LRESULT>(CopyText(w->text, reinterpret_cast<char*>(lParam), wParam));
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(w->text.size());
    case WM_WINDOWPOSCHANGED:
      return WindowPosChanged(hwnd, reinterpret_cast<const WINDOWPOS*>(lParam));
    case WM_SYSCOMMAND:
      return SystemCommand(hwnd, wParam, lParam);
    case WM_SYSKEYDOWN:
      if (wParam == VK_F4 && (lParam & (1 << 29))) SendMessageA(TopLevelOf(hwnd), WM_SYSCOMMAND, SC_CLOSE, 0);
      return 0;
    case WM_SYSKEYUP:
      if (TakeMenuGesture(hwnd, wParam, lParam)) SendMessageA(TopLevelOf(hwnd), WM_SYSCOMMAND, SC_KEYMENU, 0);
      return 0;
    case WM_SYSCHAR:
      // Alt with a letter opens the drop-down of that mnemonic (Alt+Space would be the
      // window menu, which the window manager has).
      if ((lParam & (1 << 29)) && wParam != ' ') SendMessageA(TopLevelOf(hwnd), WM_SYSCOMMAND, SC_KEYMENU, wParam);
      return 0;
    case WM_IME_CHAR:
      // A double-byte character reaches a window as two WM_CHARs, the lead byte first.
      if (wParam > 0xFF) SendMessageA(hwnd, WM_CHAR, (wParam >> 8) & 0xFF, lParam);
      SendMessageA(hwnd, WM_CHAR, wParam & 0xFF, lParam);
      return 0;
    case WM_MOUSEACTIVATE:
      return 1;  // MA_ACTIVATE
    default:
      return 0;
  }
}
