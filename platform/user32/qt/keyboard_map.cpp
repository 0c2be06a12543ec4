#include "platform/user32/qt/keyboard_map.h"

#include <QtCore/qnamespace.h>
#include <span>

#include "platform/user32/user32.h"

namespace win32::user32::qt {
namespace {

struct Entry {
  int qtKey;
  int vk;
  int scanCode;
  bool extended;
};

// Keys of the main block and the function keys, with their set-1 scan codes. Shifted
// symbols map to the key that types them on a US keyboard.
constexpr Entry kMainKeys[] = {
      {Qt::Key_Escape, VK_ESCAPE, 0x01, false},
      {Qt::Key_1, '1', 0x02, false},
      {Qt::Key_Exclam, '1', 0x02, false},
      {Qt::Key_2, '2', 0x03, false},
      {Qt::Key_At, '2', 0x03, false},
      {Qt::Key_3, '3', 0x04, false},
      {Qt::Key_NumberSign, '3', 0x04, false},
      {Qt::Key_4, '4', 0x05, false},
      {Qt::Key_Dollar, '4', 0x05, false},
      {Qt::Key_5, '5', 0x06, false},
      {Qt::Key_Percent, '5', 0x06, false},
      {Qt::Key_6, '6', 0x07, false},
      {Qt::Key_AsciiCircum, '6', 0x07, false},
      {Qt::Key_7, '7', 0x08, false},
      {Qt::Key_Ampersand, '7', 0x08, false},
      {Qt::Key_8, '8', 0x09, false},
      {Qt::Key_Asterisk, '8', 0x09, false},
      {Qt::Key_9, '9', 0x0A, false},
      {Qt::Key_ParenLeft, '9', 0x0A, false},
      {Qt::Key_0, '0', 0x0B, false},
      {Qt::Key_ParenRight, '0', 0x0B, false},
      {Qt::Key_Minus, VK_OEM_MINUS, 0x0C, false},
      {Qt::Key_Underscore, VK_OEM_MINUS, 0x0C, false},
      {Qt::Key_Equal, VK_OEM_PLUS, 0x0D, false},
      {Qt::Key_Plus, VK_OEM_PLUS, 0x0D, false},
      {Qt::Key_Backspace, VK_BACK, 0x0E, false},
      {Qt::Key_Tab, VK_TAB, 0x0F, false},
      {Qt::Key_Backtab, VK_TAB, 0x0F, false},
      {Qt::Key_BracketLeft, VK_OEM_4, 0x1A, false},
      {Qt::Key_BraceLeft, VK_OEM_4, 0x1A, false},
      {Qt::Key_BracketRight, VK_OEM_6, 0x1B, false},
      {Qt::Key_BraceRight, VK_OEM_6, 0x1B, false},
      {Qt::Key_Return, VK_RETURN, 0x1C, false},
      {Qt::Key_Control, VK_CONTROL, 0x1D, false},
      {Qt::Key_Semicolon, VK_OEM_1, 0x27, false},
      {Qt::Key_Colon, VK_OEM_1, 0x27, false},
      {Qt::Key_Apostrophe, VK_OEM_7, 0x28, false},
      {Qt::Key_QuoteDbl, VK_OEM_7, 0x28, false},
      {Qt::Key_QuoteLeft, VK_OEM_3, 0x29, false},
      {Qt::Key_AsciiTilde, VK_OEM_3, 0x29, false},
      {Qt::Key_Shift, VK_SHIFT, 0x2A, false},
      {Qt::Key_Backslash, VK_OEM_5, 0x2B, false},
      {Qt::Key_Bar, VK_OEM_5, 0x2B, false},
      {Qt::Key_Comma, VK_OEM_COMMA, 0x33, false},
      {Qt::Key_Less, VK_OEM_COMMA, 0x33, false},
      {Qt::Key_Period, VK_OEM_PERIOD, 0x34, false},
      {Qt::Key_Greater, VK_OEM_PERIOD, 0x34, false},
      {Qt::Key_Slash, VK_OEM_2, 0x35, false},
      {Qt::Key_Question, VK_OEM_2, 0x35, false},
      {Qt::Key_Alt, VK_MENU, 0x38, false},
      {Qt::Key_AltGr, VK_MENU, 0x38, true},
      {Qt::Key_Space, VK_SPACE, 0x39, false},
      {Qt::Key_CapsLock, VK_CAPITAL, 0x3A, false},
      {Qt::Key_NumLock, VK_NUMLOCK, 0x45, true},
      {Qt::Key_ScrollLock, VK_SCROLL, 0x46, false},
      {Qt::Key_Pause, VK_PAUSE, 0x45, false},
      {Qt::Key_Print, VK_SNAPSHOT, 0x37, true},
      {Qt::Key_Enter, VK_RETURN, 0x1C, true},
      {Qt::Key_Insert, VK_INSERT, 0x52, true},
      {Qt::Key_Delete, VK_DELETE, 0x53, true},
      {Qt::Key_Home, VK_HOME, 0x47, true},
      {Qt::Key_End, VK_END, 0x4F, true},
      {Qt::Key_PageUp, VK_PRIOR, 0x49, true},
      {Qt::Key_PageDown, VK_NEXT, 0x51, true},
      {Qt::Key_Left, VK_LEFT, 0x4B, true},
      {Qt::Key_Up, VK_UP, 0x48, true},
      {Qt::Key_Right, VK_RIGHT, 0x4D, true},
      {Qt::Key_Down, VK_DOWN, 0x50, true},
      {Qt::Key_Clear, VK_CLEAR, 0x4C, false},
      {Qt::Key_Meta, VK_LWIN, 0x5B, true},
      {Qt::Key_Super_L, VK_LWIN, 0x5B, true},
      {Qt::Key_Super_R, VK_RWIN, 0x5C, true},
      {Qt::Key_Menu, VK_APPS, 0x5D, true},
      {Qt::Key_Henkan, VK_CONVERT, 0x79, false},
      {Qt::Key_Muhenkan, VK_NONCONVERT, 0x7B, false},
};

// The keypad's own keys, whatever Num Lock says; with Num Lock off the digit keys arrive as
// navigation keys, which are then not extended (they are the keypad's, not the arrow block's).
constexpr Entry kKeypadKeys[] = {
      {Qt::Key_0, VK_NUMPAD0, 0x52, false},      {Qt::Key_1, VK_NUMPAD1, 0x4F, false},
      {Qt::Key_2, VK_NUMPAD2, 0x50, false},      {Qt::Key_3, VK_NUMPAD3, 0x51, false},
      {Qt::Key_4, VK_NUMPAD4, 0x4B, false},      {Qt::Key_5, VK_NUMPAD5, 0x4C, false},
      {Qt::Key_6, VK_NUMPAD6, 0x4D, false},      {Qt::Key_7, VK_NUMPAD7, 0x47, false},
      {Qt::Key_8, VK_NUMPAD8, 0x48, false},      {Qt::Key_9, VK_NUMPAD9, 0x49, false},
      {Qt::Key_Asterisk, VK_MULTIPLY, 0x37, false}, {Qt::Key_Plus, VK_ADD, 0x4E, false},
      {Qt::Key_Minus, VK_SUBTRACT, 0x4A, false},  {Qt::Key_Period, VK_DECIMAL, 0x53, false},
      {Qt::Key_Comma, VK_DECIMAL, 0x53, false},   {Qt::Key_Slash, VK_DIVIDE, 0x35, true},
      {Qt::Key_Enter, VK_RETURN, 0x1C, true},     {Qt::Key_Insert, VK_INSERT, 0x52, false},
      {Qt::Key_Delete, VK_DELETE, 0x53, false},   {Qt::Key_Home, VK_HOME, 0x47, false},
      {Qt::Key_End, VK_END, 0x4F, false},         {Qt::Key_PageUp, VK_PRIOR, 0x49, false},
      {Qt::Key_PageDown, VK_NEXT, 0x51, false},   {Qt::Key_Left, VK_LEFT, 0x4B, false},
      {Qt::Key_Up, VK_UP, 0x48, false},           {Qt::Key_Right, VK_RIGHT, 0x4D, false},
      {Qt::Key_Down, VK_DOWN, 0x50, false},       {Qt::Key_Clear, VK_CLEAR, 0x4C, false},
};

// Scan codes of the letters, row by row as they lie on the keyboard.
int LetterScanCode(int letter) {
  static constexpr unsigned char kScan[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17,
                                              0x24, 0x25, 0x26, 0x32, 0x31, 0x18, 0x19, 0x10, 0x13,
                                              0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};
  return kScan[letter - 'A'];
}

int FunctionKeyScanCode(int n) {  // n = 1 for F1
  if (n <= 10) return 0x3A + n;
  if (n <= 12) return 0x57 + (n - 11);
  if (n <= 23) return 0x64 + (n - 13);
  return 0x76;
}

std::optional<KeyCode> Lookup(std::span<const Entry> table, int qtKey) {
  for (const Entry& e : table) {
    if (e.qtKey == qtKey) return KeyCode{e.vk, e.scanCode, e.extended};
  }
  return std::nullopt;
}

}  // namespace

std::optional<KeyCode> VirtualKeyOf(int qtKey, bool keypad) {
  if (keypad) {
    if (auto key = Lookup(kKeypadKeys, qtKey)) return key;
  }
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return KeyCode{qtKey, LetterScanCode(qtKey), false};
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
    int n = qtKey - Qt::Key_F1 + 1;
    return KeyCode{VK_F1 + n - 1, FunctionKeyScanCode(n), false};
  }
  return Lookup(kMainKeys, qtKey);
}

}  // namespace win32::user32::qt
