// From key messages to characters: the lParam of a key message, the characters that a
// key-down typed, and TranslateMessage.
#pragma once

#include <string>

#include "platform/user32/message_queue.h"

namespace win32::user32 {

// The lParam of WM_KEYDOWN/WM_KEYUP/WM_SYSKEYDOWN/WM_SYSKEYUP: repeat count 1, scan code,
// extended-key bit 24, context bit 29 (Alt held), previous state bit 30, transition bit 31.
LPARAM KeyLParam(int scanCode, bool extended, bool alt, bool wasDown, bool isUp);

// True when a key with these modifiers makes a system key message (WM_SYSKEYDOWN...).
bool IsSystemKey(int vk, bool alt, bool control);

// The thread read this key-down: TranslateMessage will type its characters.
void RememberTypedText(const InputMessage& input);

// The characters a US keyboard types for this key, for key messages that did not come from
// the keyboard (posted by the program itself).
std::u16string UsLayoutCharacters(int vk, bool shift, bool control, bool capsLock);

}  // namespace win32::user32
