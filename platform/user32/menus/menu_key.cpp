#include "platform/user32/menus/menu_key.h"

namespace win32::user32 {
namespace {

thread_local int pressedAlone = 0;
thread_local MSG gesture{};

}  // namespace

bool NoteMenuKey(int vk, bool press, bool autoRepeat) {
  bool menuKey = vk == VK_MENU || vk == VK_F10;
  if (press) {
    if (!autoRepeat) pressedAlone = menuKey ? vk : 0;
    return false;
  }
  bool completes = menuKey && vk == pressedAlone;
  if (vk == pressedAlone) pressedAlone = 0;
  return completes;
}

void ForgetMenuKey() { pressedAlone = 0; }

void RememberMenuGesture(const MSG& release) { gesture = release; }

bool TakeMenuGesture(HWND hwnd, WPARAM key, LPARAM lParam) {
  if (!gesture.hwnd || gesture.hwnd != hwnd || gesture.wParam != key || gesture.lParam != lParam) return false;
  gesture = MSG{};
  return true;
}

}  // namespace win32::user32
