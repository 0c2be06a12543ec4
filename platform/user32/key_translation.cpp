#include "platform/user32/key_translation.h"

#include <array>

#include "platform/common/codepage.h"

namespace win32::user32 {
namespace {

struct TypedText {
  HWND hwnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  DWORD time = 0;
  std::u16string text;
};

// The last key-downs read by this thread. TranslateMessage gets only a copy of the MSG, so
// the characters are found again by the message's fields.
thread_local std::array<TypedText, 16> recent;
thread_local std::size_t nextSlot = 0;

const TypedText* FindTyped(const MSG& m) {
  for (std::size_t i = 0; i < recent.size(); ++i) {
    const TypedText& t = recent[(nextSlot + recent.size() - 1 - i) % recent.size()];
    if (t.hwnd == m.hwnd && t.message == m.message && t.wParam == m.wParam && t.lParam == m.lParam &&
        t.time == m.time) {
      return &t;
    }
  }
  return nullptr;
}

void PostCharacters(const MSG& key, const std::u16string& text) {
  UINT charMessage = key.message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
  for (char16_t c : text) {
    // A character that code page 932 cannot hold is not typed at all, rather than as '?'.
    auto bytes = cp932::FromUtf16(std::u16string_view(&c, 1));
    if (!bytes) continue;
    // A double-byte character arrives as two messages, the lead byte first.
    for (char b : *bytes) PostMessageA(key.hwnd, charMessage, static_cast<unsigned char>(b), key.lParam);
  }
}

}  // namespace

LPARAM KeyLParam(int scanCode, bool extended, bool alt, bool wasDown, bool isUp) {
  DWORD l = 1;
  l |= static_cast<DWORD>(scanCode & 0xFF) << 16;
  if (extended) l |= 1u << 24;
  if (alt) l |= 1u << 29;
  if (wasDown) l |= 1u << 30;
  if (isUp) l |= 1u << 31;
  return static_cast<LPARAM>(l);
}

bool IsSystemKey(int vk, bool alt, bool control) {
  if (vk == VK_F10 || vk == VK_MENU) return !control;
  return alt && !control;
}

void RememberTypedText(const InputMessage& input) {
  const MSG& m = input.msg;
  if (m.message != WM_KEYDOWN && m.message != WM_SYSKEYDOWN) return;
  recent[nextSlot] = TypedText{m.hwnd, m.message, m.wParam, m.lParam, m.time, input.text};
  nextSlot = (nextSlot + 1) % recent.size();
}

std::u16string UsLayoutCharacters(int vk, bool shift, bool control, bool capsLock) {
  if (vk >= 'A' && vk <= 'Z') {
    if (control) return std::u16string(1, static_cast<char16_t>(vk - 'A' + 1));
    bool upper = shift != capsLock;
    return std::u16string(1, static_cast<char16_t>(upper ? vk : vk + 32));
  }
  switch (vk) {
    case VK_RETURN:
      return u"\r";
    case VK_ESCAPE:
      return u"\x1b";
    case VK_BACK:
      return u"\b";
    case VK_TAB:
      return control ? u"" : u"\t";
    case VK_SPACE:
      return u" ";
    default:
      break;
  }
  if (control) return u"";
  if (vk >= '0' && vk <= '9') return std::u16string(1, shift ? u")!@#$%^&*("[vk - '0'] : static_cast<char16_t>(vk));
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return std::u16string(1, static_cast<char16_t>('0' + vk - VK_NUMPAD0));
  struct Symbol {
    int vk;
    char16_t plain, shifted;
  };
  static constexpr Symbol kSymbols[] = {
      {VK_OEM_1, u';', u':'},     {VK_OEM_PLUS, u'=', u'+'}, {VK_OEM_COMMA, u',', u'<'}, {VK_OEM_MINUS, u'-', u'_'},
      {VK_OEM_PERIOD, u'.', u'>'}, {VK_OEM_2, u'/', u'?'},    {VK_OEM_3, u'`', u'~'},     {VK_OEM_4, u'[', u'{'},
      {VK_OEM_5, u'\\', u'|'},    {VK_OEM_6, u']', u'}'},    {VK_OEM_7, u'\'', u'"'},    {VK_MULTIPLY, u'*', u'*'},
      {VK_ADD, u'+', u'+'},       {VK_SUBTRACT, u'-', u'-'}, {VK_DECIMAL, u'.', u'.'},   {VK_DIVIDE, u'/', u'/'},
  };
  for (const Symbol& s : kSymbols) {
    if (s.vk == vk) return std::u16string(1, shift ? s.shifted : s.plain);
  }
  return u"";
}

}  // namespace win32::user32

using namespace win32::user32;

BOOL WINAPI TranslateMessage(const MSG* msg) {
  if (!msg) return FALSE;
  switch (msg->message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      return TRUE;
    default:
      return FALSE;
  }
  if (const TypedText* typed = FindTyped(*msg)) {
    PostCharacters(*msg, typed->text);
  } else {
    bool shift = GetKeyState(VK_SHIFT) < 0;
    bool control = GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0;
    bool caps = (GetKeyState(VK_CAPITAL) & 1) != 0;
    PostCharacters(*msg, UsLayoutCharacters(static_cast<int>(msg->wParam), shift, control, caps));
  }
  return TRUE;
}
