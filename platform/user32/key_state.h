// The keyboard state: GetKeyState answers for the messages the thread has read so far,
// GetAsyncKeyState for the keys as they are now.
#pragma once

#include "platform/user32/message_queue.h"

namespace win32::user32 {

// A key went down or up now (from Qt's key events).
void NoteAsyncKey(int vk, bool down);

// The thread read this keyboard or mouse message: its key and the modifiers held then
// become the thread's key state.
void ApplyToKeyState(const InputMessage& input);

}  // namespace win32::user32
