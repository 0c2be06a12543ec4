// GetWindowLongA/SetWindowLongA and their pointer-sized forms: styles, identifiers, user
// data, the procedure, and the window's extra bytes (a dialog's DWLP_MSGRESULT among them).
#include <cstring>
#include <optional>

#include "platform/kernel32/kernel32.h"
#include "platform/user32/qt/window_widgets.h"
#include "platform/user32/window_geometry.h"
#include "platform/user32/window_placement.h"
#include "platform/user32/window_state.h"
#include "platform/user32/window_table.h"

namespace win32::user32 {
namespace {

constexpr DWORD kErrorInvalidIndex = 1413;  // ERROR_INVALID_INDEX

template <typename T>
bool ReadExtra(const Window& w, int index, T& value) {
  if (index < 0 || static_cast<std::size_t>(index) + sizeof(T) > w.extraBytes.size()) return false;
  std::memcpy(&value, w.extraBytes.data() + index, sizeof(T));
  return true;
}

template <typename T>
bool WriteExtra(Window& w, int index, T value) {
  if (index < 0 || static_cast<std::size_t>(index) + sizeof(T) > w.extraBytes.size()) return false;
  std::memcpy(w.extraBytes.data() + index, &value, sizeof(T));
  return true;
}

bool IsDialog(const Window& w) { return w.windowClass->windowExtra >= DLGWINDOWEXTRA && w.windowClass->system; }

// A style change: the procedure hears it before and after, and may amend the new style.
LONG_PTR ChangeStyle(HWND hwnd, int which, DWORD wanted) {
  Window* w = LookupWindow(hwnd);
  DWORD old = which == GWL_STYLE ? w->style : w->exStyle;
  STYLESTRUCT change{old, wanted};
  SendMessageA(hwnd, WM_STYLECHANGING, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(&change));
  w = LookupWindow(hwnd);
  if (!w) return static_cast<LONG_PTR>(old);
  DWORD now = change.styleNew;
  if (which == GWL_STYLE) {
    w->style = now;
    if ((old ^ now) & WS_DISABLED) {
      w->enabled = !(now & WS_DISABLED);
      ShowEnabled(*w);
      if (!w->enabled) DropFocusFrom(hwnd);
    }
    if (((old ^ now) & WS_VISIBLE) && w->widget) w->widget->setVisible((now & WS_VISIBLE) != 0);
  } else {
    w->exStyle = now;
  }
  SendMessageA(hwnd, WM_STYLECHANGED, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(&change));
  w = LookupWindow(hwnd);
  if (!w || w->IsChild()) return static_cast<LONG_PTR>(old);
  constexpr DWORD kFrameStyles = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  if (which == GWL_EXSTYLE || ((old ^ now) & kFrameStyles)) {
    ApplyFrameStyle(hwnd);
    UpdateFullScreen(hwnd);
  }
  if (which == GWL_STYLE && ((old ^ now) & WS_THICKFRAME)) {
    if (Window* again = LookupWindow(hwnd)) {
      ReleaseSizeConstraints(*again);
      ApplySizeConstraints(*again);
    }
  }
  return static_cast<LONG_PTR>(old);
}

std::optional<LONG_PTR> Get(HWND hwnd, int index, bool pointerSized) {
  Window* w = WindowOrError(hwnd);
  if (!w) return std::nullopt;
  switch (index) {
    case GWL_STYLE:
      return static_cast<LONG_PTR>(static_cast<LONG>(w->style));
    case GWL_EXSTYLE:
      return static_cast<LONG_PTR>(static_cast<LONG>(w->exStyle));
    case GWLP_ID:
      return w->id;
    case GWLP_USERDATA:
      return w->userData;
    case GWLP_WNDPROC:
      return reinterpret_cast<LONG_PTR>(w->proc);
    case GWLP_HINSTANCE:
      return reinterpret_cast<LONG_PTR>(w->instance);
    case GWLP_HWNDPARENT:
      return reinterpret_cast<LONG_PTR>(w->IsChild() ? w->parent : w->owner);
    default:
      break;
  }
  if (pointerSized) {
    LONG_PTR value = 0;
    if (ReadExtra(*w, index, value)) return value;
  } else {
    LONG value = 0;
    if (ReadExtra(*w, index, value)) return value;
  }
  SetLastError(kErrorInvalidIndex);
  return std::nullopt;
}

std::optional<LONG_PTR> Set(HWND hwnd, int index, LONG_PTR value, bool pointerSized) {
  Window* w = WindowOrError(hwnd);
  if (!w) return std::nullopt;
  LONG_PTR old = 0;
  switch (index) {
    case GWL_STYLE:
    case GWL_EXSTYLE:
      return ChangeStyle(hwnd, index, static_cast<DWORD>(value));
    case GWLP_ID:
      old = w->id;
      w->id = value;
      return old;
    case GWLP_USERDATA:
      old = w->userData;
      w->userData = value;
      return old;
    case GWLP_WNDPROC:
      old = reinterpret_cast<LONG_PTR>(w->proc);
      w->proc = reinterpret_cast<WNDPROC>(value);
      return old;
    default:
      break;
  }
  // A dialog's message result is pointer-sized; a LONG stored there is taken with its sign.
  if (pointerSized || (index == DWLP_MSGRESULT && IsDialog(*w))) {
    if (ReadExtra(*w, index, old) && WriteExtra(*w, index, pointerSized ? value : static_cast<LONG_PTR>(static_cast<LONG>(value)))) {
      return old;
    }
  } else {
    LONG previous = 0;
    if (ReadExtra(*w, index, previous) && WriteExtra(*w, index, static_cast<LONG>(value))) return previous;
  }
  SetLastError(kErrorInvalidIndex);
  return std::nullopt;
}

}  // namespace
}  // namespace win32::user32

using namespace win32::user32;

LONG WINAPI GetWindowLongA(HWND hwnd, int index) { return static_cast<LONG>(Get(hwnd, index, false).value_or(0)); }

LONG WINAPI SetWindowLongA(HWND hwnd, int index, LONG value) {
  return static_cast<LONG>(Set(hwnd, index, value, false).value_or(0));
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND hwnd, int index) { return Get(hwnd, index, true).value_or(0); }

LONG_PTR WINAPI SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value) {
  return Set(hwnd, index, value, true).value_or(0);
}
