// The pad's keys delivered as the keyboard's are: as Qt key events on the widget of the
// window with the focus (or on an open menu), where the input bridge makes them WM_KEYDOWN
// and WM_KEYUP with their scan codes, characters and key state. Pads are read whatever
// window of the desktop is active, so nothing is delivered while none of ours is.
#pragma once

#include <QPointer>
#include <QWidget>
#include <map>

#include "platform/user32/gamepad/pad_keys.h"

namespace win32::user32::gamepad {

class KeyDelivery final : public KeySink {
 public:
  // In a dialog, a message box or an open menu the confirming button is Enter and the
  // cancelling one Esc; elsewhere the first is Space and the second nothing, so that no
  // button can reach the Esc that ends the game.
  int KeyFor(PadAction action) override;
  bool Press(int key, bool repeat) override;
  void Release(int key) override;
  std::optional<RepeatTiming> Repeat() override;

 private:
  std::map<int, QPointer<QWidget>> pressedOn_;  // where each key still down went
};

}  // namespace win32::user32::gamepad
