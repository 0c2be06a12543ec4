#include "platform/user32/key_state.h"

#include <array>
#include <atomic>

namespace win32::user32 {
namespace {

constexpr BYTE kDown = 0x80;
constexpr BYTE kToggled = 0x01;

// Plain arrays: nothing to construct or destroy, so they are usable at any time.
thread_local std::array<BYTE, 256> threadState{};
std::array<std::atomic<BYTE>, 256> asyncState{};

// The generic modifier keys and their left and right forms move together.
void SetKey(std::array<BYTE, 256>& state, int vk, bool down) {
  if (vk < 0 || vk > 255) return;
  BYTE& s = state[static_cast<std::size_t>(vk)];
  if (down && !(s & kDown)) s ^= kToggled;
  s = down ? static_cast<BYTE>(s | kDown) : static_cast<BYTE>(s & ~kDown);
}

void SetModifier(int vk, int left, bool down) {
  SetKey(threadState, vk, down);
  if (!down) {
    SetKey(threadState, left, false);
    SetKey(threadState, left + 1, false);
  } else if (!(threadState[static_cast<std::size_t>(left)] & kDown) &&
             !(threadState[static_cast<std::size_t>(left + 1)] & kDown)) {
    SetKey(threadState, left, true);
  }
}

bool IsKeyMessage(UINT message) { return message >= WM_KEYFIRST && message <= WM_KEYLAST; }

}  // namespace

void NoteAsyncKey(int vk, bool down) {
  if (vk < 0 || vk > 255) return;
  auto& s = asyncState[static_cast<std::size_t>(vk)];
  s.store(down ? kDown : 0);
}

void ApplyToKeyState(const InputMessage& input) {
  const MSG& m = input.msg;
  if (IsKeyMessage(m.message) || (m.message >= WM_MOUSEFIRST && m.message <= WM_MOUSELAST)) {
    SetModifier(VK_SHIFT, VK_LSHIFT, input.shift);
    SetModifier(VK_CONTROL, VK_LCONTROL, input.control);
    SetModifier(VK_MENU, VK_LMENU, input.alt);
  }
  switch (m.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (!(m.lParam & (1 << 30))) SetKey(threadState, static_cast<int>(m.wParam), true);
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      SetKey(threadState, static_cast<int>(m.wParam), false);
      break;
    default:
      break;
  }
  // A double click is a press of its button like any other.
  struct MouseButton {
    UINT down, doubleClick, up;
    int vk;
  };
  static constexpr MouseButton kButtons[] = {
      {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONUP, VK_LBUTTON},
      {WM_RBUTTONDOWN, WM_RBUTTONDBLCLK, WM_RBUTTONUP, VK_RBUTTON},
      {WM_MBUTTONDOWN, WM_MBUTTONDBLCLK, WM_MBUTTONUP, VK_MBUTTON},
  };
  for (const MouseButton& b : kButtons) {
    if (m.message == b.down || m.message == b.doubleClick || m.message == b.up)
      SetKey(threadState, b.vk, m.message != b.up);
  }
}

}  // namespace win32::user32

using namespace win32::user32;

SHORT WINAPI GetKeyState(int vk) {
  if (vk < 0 || vk > 255) return 0;
  BYTE s = threadState[static_cast<std::size_t>(vk)];
  SHORT result = (s & kDown) ? static_cast<SHORT>(0x8000) : 0;
  return static_cast<SHORT>(result | (s & kToggled));
}

SHORT WINAPI GetAsyncKeyState(int vk) {
  if (vk < 0 || vk > 255) return 0;
  return (asyncState[static_cast<std::size_t>(vk)].load() & kDown) ? static_cast<SHORT>(0x8000) : 0;
}
