#include "platform/user32/gamepad/key_delivery.h"

#include <QApplication>
#include <QKeyEvent>

#include "platform/user32/dialogs/dialog_state.h"
#include "platform/user32/gamepad/key_repeat.h"
#include "platform/user32/qt/widget_binding.h"
#include "platform/user32/window_table.h"

namespace win32::user32::gamepad {
namespace {

// An open menu takes the keys, as it takes the keyboard's; otherwise the window with the
// focus does.
QWidget* Target() {
  if (QWidget* popup = QApplication::activePopupWidget()) return popup;
  if (QGuiApplication::applicationState() != Qt::ApplicationActive) return nullptr;
  return InputWidgetOf(GetFocus());
}

bool TakesDialogKeys() {
  if (QApplication::activePopupWidget()) return true;
  HWND focus = GetFocus();
  return focus && DialogOf(TopLevelOf(focus));
}

// The characters the keyboard's key types along (TranslateMessage makes them WM_CHAR).
QString TextOf(int key) {
  switch (key) {
    case Qt::Key_Space:
      return QStringLiteral(" ");
    case Qt::Key_Return:
      return QStringLiteral("\r");
    case Qt::Key_Escape:
      return QStringLiteral("\x1b");
    default:
      return {};
  }
}

void Send(QWidget* target, QEvent::Type type, int key, bool repeat) {
  QKeyEvent event(type, key, QGuiApplication::keyboardModifiers(), TextOf(key), repeat);
  QApplication::sendEvent(target, &event);
}

}  // namespace

int KeyDelivery::KeyFor(PadAction action) {
  switch (action) {
    case PadAction::Up:
      return Qt::Key_Up;
    case PadAction::Down:
      return Qt::Key_Down;
    case PadAction::Left:
      return Qt::Key_Left;
    case PadAction::Right:
      return Qt::Key_Right;
    case PadAction::Confirm:
      return TakesDialogKeys() ? Qt::Key_Return : Qt::Key_Space;
    case PadAction::Cancel:
      return TakesDialogKeys() ? Qt::Key_Escape : 0;
  }
  return 0;
}

bool KeyDelivery::Press(int key, bool repeat) {
  QWidget* target = Target();
  if (!target) return false;
  // A held button repeats only into the window its press went to: a dialog that opens
  // meanwhile gets no stream of Spaces or Enters it was not asked for.
  if (repeat && pressedOn_[key] != target) return false;
  pressedOn_[key] = target;
  Send(target, QEvent::KeyPress, key, repeat);
  return true;
}

void KeyDelivery::Release(int key) {
  auto pressed = pressedOn_.find(key);
  if (pressed == pressedOn_.end()) return;  // its press reached nobody
  QWidget* target = Target();
  if (!target) target = pressed->second.data();
  pressedOn_.erase(pressed);
  if (target) Send(target, QEvent::KeyRelease, key, false);
}

std::optional<RepeatTiming> KeyDelivery::Repeat() { return DesktopKeyRepeat(); }

}  // namespace win32::user32::gamepad
