#include "platform/user32/qt/input_bridge.h"

#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>
#include <memory>

#include "platform/common/codepage.h"
#include "platform/common/immortal.h"
#include "platform/user32/cursors.h"
#include "platform/user32/key_state.h"
#include "platform/user32/key_translation.h"
#include "platform/user32/menus/menu_key.h"
#include "platform/user32/message_queue.h"
#include "platform/user32/qt/client_widget.h"
#include "platform/user32/qt/keyboard_map.h"
#include "platform/user32/qt/widget_binding.h"
#include "platform/user32/system_events.h"
#include "platform/user32/window_state.h"
#include "platform/user32/window_table.h"

namespace win32::user32 {
namespace {

// What a key press types, as Windows would type it: Ctrl with a letter gives its control
// code, Ctrl with other keys nothing; Delete types nothing.
std::u16string TypedText(const QKeyEvent& e, int vk, bool control, bool alt) {
  std::u16string text = e.text().toStdU16String();
  if (vk == VK_DELETE) return u"";
  if (vk == VK_TAB && text.empty()) return u"\t";
  if (control && !alt && text.size() == 1) {
    char16_t c = text[0];
    if (c >= u'a' && c <= u'z') return std::u16string(1, static_cast<char16_t>(c - u'a' + 1));
    if (c >= u'A' && c <= u'Z') return std::u16string(1, static_cast<char16_t>(c - u'A' + 1));
    if (c >= u'[' && c <= u']') return std::u16string(1, static_cast<char16_t>(c - u'[' + 0x1B));
    if (c >= 0x20) return u"";
  }
  return text;
}

WPARAM MouseKeys(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
  WPARAM keys = 0;
  if (buttons & Qt::LeftButton) keys |= MK_LBUTTON;
  if (buttons & Qt::RightButton) keys |= MK_RBUTTON;
  if (buttons & Qt::MiddleButton) keys |= MK_MBUTTON;
  if (modifiers & Qt::ShiftModifier) keys |= MK_SHIFT;
  if (modifiers & Qt::ControlModifier) keys |= MK_CONTROL;
  return keys;
}

void PostInput(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, std::u16string text,
               Qt::KeyboardModifiers modifiers, bool opensMenu = false) {
  Window* w = LookupWindow(hwnd);
  if (!w) return;
  InputMessage input;
  input.msg.hwnd = hwnd;
  input.msg.message = message;
  input.msg.wParam = wParam;
  input.msg.lParam = lParam;
  input.msg.time = MessageTimeNow();
  input.msg.pt = CursorPositionNow();
  input.text = std::move(text);
  input.shift = modifiers & Qt::ShiftModifier;
  input.control = modifiers & Qt::ControlModifier;
  input.alt = modifiers & Qt::AltModifier;
  input.opensMenu = opensMenu;
  w->queue->PostInput(std::move(input));
  w->queue->Wake();
}

void HandleKey(HWND hwnd, const QKeyEvent& e) {
  bool press = e.type() == QEvent::KeyPress;
  if (!press && e.isAutoRepeat()) return;  // a held key repeats its key-downs only
  auto code = qt::VirtualKeyOf(e.key(), e.modifiers() & Qt::KeypadModifier);
  if (!code) {
    if (!press || e.text().isEmpty()) return;
    code = qt::KeyCode{VK_PACKET, 0, false};
  }
  Qt::KeyboardModifiers modifiers = e.modifiers();
  // Qt may or may not count a modifier key in its own event; Windows does while it is down.
  auto own = [&](int vk, Qt::KeyboardModifier m) {
    if (code->vk == vk) modifiers = press ? (modifiers | m) : (modifiers & ~m);
  };
  own(VK_SHIFT, Qt::ShiftModifier);
  own(VK_CONTROL, Qt::ControlModifier);
  own(VK_MENU, Qt::AltModifier);
  bool alt = modifiers & Qt::AltModifier;
  bool control = modifiers & Qt::ControlModifier;
  if (code->vk == VK_MENU) alt = true;

  NoteAsyncKey(code->vk, press);
  NoteAsyncKey(VK_SHIFT, modifiers & Qt::ShiftModifier);
  NoteAsyncKey(VK_CONTROL, control);
  NoteAsyncKey(VK_MENU, alt);
  bool opensMenu = NoteMenuKey(code->vk, press, e.isAutoRepeat());
  if (!IsInputEnabled(hwnd)) return;

  bool system = IsSystemKey(code->vk, alt, control);
  UINT message = press ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
  LPARAM lParam = KeyLParam(code->scanCode, code->extended, system && alt, press ? e.isAutoRepeat() : true, !press);
  std::u16string text = press ? TypedText(e, code->vk, control, alt) : std::u16string();
  PostInput(hwnd, message, static_cast<WPARAM>(code->vk), lParam, std::move(text), modifiers, opensMenu && system);
}

void HandleMouse(HWND hwnd, const QObject* widget, const QMouseEvent& e) {
  NoteCursorPosition(e.globalPosition().toPoint());
  if (!IsInputEnabled(hwnd)) return;
  // A client area shown scaled has its pixels' own coordinates.
  const auto* client = qobject_cast<const ClientWidget*>(widget);
  QPoint p = client ? client->ToClient(e.position()) : e.position().toPoint();
  LPARAM lParam =
      MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(p.x())), static_cast<WORD>(static_cast<SHORT>(p.y())));
  UINT message = 0;
  bool doubleClick = e.type() == QEvent::MouseButtonDblClick;
  if (doubleClick) {
    Window* w = LookupWindow(hwnd);
    doubleClick = w && w->windowClass && (w->windowClass->style & CS_DBLCLKS);
  }
  switch (e.type()) {
    case QEvent::MouseMove:
      message = WM_MOUSEMOVE;
      break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      if (e.button() == Qt::LeftButton) message = doubleClick ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
      if (e.button() == Qt::RightButton) message = doubleClick ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN;
      if (e.button() == Qt::MiddleButton) message = doubleClick ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN;
      break;
    case QEvent::MouseButtonRelease:
      if (e.button() == Qt::LeftButton) message = WM_LBUTTONUP;
      if (e.button() == Qt::RightButton) message = WM_RBUTTONUP;
      if (e.button() == Qt::MiddleButton) message = WM_MBUTTONUP;
      break;
    default:
      break;
  }
  if (message) PostInput(hwnd, message, MouseKeys(e.buttons(), e.modifiers()), lParam, {}, e.modifiers());
}

void HandleWheel(HWND hwnd, const QWheelEvent& e) {
  if (!IsInputEnabled(hwnd)) return;
  QPoint global = e.globalPosition().toPoint();
  int delta = e.angleDelta().y();
  WPARAM wParam = MAKEWPARAM(MouseKeys(e.buttons(), e.modifiers()), static_cast<WORD>(static_cast<SHORT>(delta)));
  LPARAM lParam =
      MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(global.x())), static_cast<WORD>(static_cast<SHORT>(global.y())));
  PostInput(hwnd, WM_MOUSEWHEEL, wParam, lParam, {}, e.modifiers());
}

class InputBridge final : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    HWND hwnd = HwndOfWidget(watched);
    if (!hwnd) return false;
    switch (event->type()) {
      case QEvent::ShortcutOverride:
        // Keys go to the window as messages; Qt's shortcuts (the menu bar's mnemonics among
        // them) would take them first. Accelerators and DefWindowProcA do that job instead.
        event->accept();
        return true;
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
        HandleKey(hwnd, static_cast<QKeyEvent&>(*event));
        return true;
      case QEvent::MouseMove:
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
        if (!watched->property(kWithMouse).toBool()) {
          NoteCursorPosition(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
          return false;
        }
        HandleMouse(hwnd, watched, static_cast<QMouseEvent&>(*event));
        return true;
      case QEvent::Wheel:
        if (!watched->property(kWithMouse).toBool()) return false;
        HandleWheel(hwnd, static_cast<QWheelEvent&>(*event));
        return true;
      case QEvent::FocusIn:
        NoteQtFocus(hwnd);
        return false;
      case QEvent::FocusOut:
        ForgetMenuKey();
        return false;
      default:
        return false;
    }
  }

  static constexpr const char* kWithMouse = "win32.withMouse";
};

struct BridgeHolder {
  std::unique_ptr<InputBridge> bridge;
};

BridgeHolder& Holder() {
  static Immortal<BridgeHolder> holder;
  return *holder;
}

}  // namespace

void InstallInputBridge(QWidget* widget, bool withMouse) {
  auto& bridge = Holder().bridge;
  if (!bridge) bridge = std::make_unique<InputBridge>();
  widget->setProperty(InputBridge::kWithMouse, withMouse);
  widget->installEventFilter(bridge.get());
}

void PostImeCharacters(HWND hwnd, const QString& committed) {
  if (!IsInputEnabled(hwnd)) return;
  std::u16string text = committed.toStdU16String();
  for (char16_t c : text) {
    auto bytes = cp932::FromUtf16(std::u16string_view(&c, 1));
    if (!bytes || bytes->empty()) {
      MessageBeep(0);
      continue;
    }
    WPARAM code = static_cast<unsigned char>((*bytes)[0]);
    if (bytes->size() == 2) code = (code << 8) | static_cast<unsigned char>((*bytes)[1]);
    PostInput(hwnd, WM_IME_CHAR, code, 1, {}, QGuiApplication::keyboardModifiers());
  }
}

void ReleaseInputBridge() { Holder().bridge.reset(); }

}  // namespace win32::user32
