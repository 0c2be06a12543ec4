// The EDIT control, single line: typing arrives as WM_CHAR (code page 932 bytes, a
// double-byte character as two) or WM_IME_CHAR (from the input method); the limit counts
// bytes; EN_CHANGE tells the parent.
#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpression>
#include <limits>

#include "platform/common/codepage.h"
#include "platform/user32/controls/control_class.h"
#include "platform/user32/controls/control_notify.h"
#include "platform/user32/controls/edit_text.h"
#include "platform/user32/controls/system_classes.h"
#include "platform/user32/qt/input_bridge.h"
#include "platform/user32/window_table.h"

namespace win32::user32 {
namespace {

constexpr std::size_t kDefaultLimit = 32767;
constexpr std::size_t kLargestLimit = 0x7FFFFFFE;

struct EditState final : WindowExtension {
  std::size_t limit = kDefaultLimit;
  int pendingLead = -1;  // the lead byte of a double-byte character whose trail byte is due
};

// The line edit, with Qt's own ways of changing the text shut off: everything that types
// goes through the window's messages, where the limit is kept.
class EditWidget final : public QLineEdit {
 public:
  EditWidget(HWND hwnd, QWidget* parent) : QLineEdit(parent), hwnd_(hwnd) {
    setMaxLength(std::numeric_limits<int>::max());
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
    setDragEnabled(false);
  }

 protected:
  // The input method's composition is shown by Qt; what it commits is typed through
  // WM_IME_CHAR like any other character.
  void inputMethodEvent(QInputMethodEvent* event) override {
    if (!event->commitString().isEmpty()) PostImeCharacters(hwnd_, event->commitString());
    QInputMethodEvent composing(event->preeditString(), event->attributes());
    QLineEdit::inputMethodEvent(&composing);
  }
  // X11 pastes the selection on a middle click; Windows has no such thing.
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() != Qt::MiddleButton) QLineEdit::mousePressEvent(event);
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() != Qt::MiddleButton) QLineEdit::mouseReleaseEvent(event);
  }

 private:
  HWND hwnd_;
};

QLineEdit* EditOf(HWND hwnd) {
  Window* w = LookupWindow(hwnd);
  return w ? qobject_cast<QLineEdit*>(w->widget.data()) : nullptr;
}

EditState* StateOf(HWND hwnd) {
  Window* w = LookupWindow(hwnd);
  return w ? &w->EnsureExtension<EditState>() : nullptr;
}

QWidget* MakeEdit(Window& w, QWidget* parent) {
  auto* edit = new EditWidget(w.handle, parent);  // owned by its Qt parent
  edit->setFrame((w.style & WS_BORDER) || (w.exStyle & WS_EX_CLIENTEDGE));
  edit->setReadOnly(w.style & ES_READONLY);
  if (w.style & ES_PASSWORD) edit->setEchoMode(QLineEdit::Password);
  if (w.style & ES_CENTER) edit->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
  if (w.style & ES_RIGHT) edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return edit;
}

// The window's text follows the line edit's, in code page 932.
void TextChanged(HWND hwnd, bool notify) {
  Window* w = LookupWindow(hwnd);
  QLineEdit* edit = EditOf(hwnd);
  if (!w || !edit) return;
  w->text = cp932::FromUtf16Lossy(edit->text().toStdU16String());
  if (!notify) return;
  NotifyParent(hwnd, EN_UPDATE);
  NotifyParent(hwnd, EN_CHANGE);
}

// Runs a change of the line edit's text and tells the parent when the text did change.
template <typename Change>
void Edit(HWND hwnd, Change change) {
  QLineEdit* edit = EditOf(hwnd);
  if (!edit) return;
  QString before = edit->text();
  change(*edit);
  if (edit->text() != before) TextChanged(hwnd, true);
}

std::u16string Shaped(const Window& w, std::u16string typed) {
  for (char16_t& c : typed) {
    if ((w.style & ES_UPPERCASE) && c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
    if ((w.style & ES_LOWERCASE) && c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  }
  return typed;
}

// Types text at the caret, over the selection, as far as the limit lets whole characters in.
void Type(HWND hwnd, std::u16string typed) {
  Window* w = LookupWindow(hwnd);
  QLineEdit* edit = EditOf(hwnd);
  EditState* state = StateOf(hwnd);
  if (!w || !edit || !state) return;
  if (edit->isReadOnly()) {
    MessageBeep(0);
    return;
  }
  typed = Shaped(*w, std::move(typed));
  if (w->style & ES_NUMBER) {
    for (char16_t c : typed) {
      if (c < u'0' || c > u'9') {
        MessageBeep(0);
        return;
      }
    }
  }
  std::size_t used = Cp932Length(edit->text().toStdU16String()) - Cp932Length(edit->selectedText().toStdU16String());
  std::size_t room = state->limit > used ? state->limit - used : 0;
  std::u16string fitted = FitToRoom(typed, room);
  if (Cp932Length(fitted) < Cp932Length(typed)) {
    MessageBeep(0);
    NotifyParent(hwnd, EN_MAXTEXT);
  } else if (fitted.size() < typed.size()) {
    MessageBeep(0);  // characters that code page 932 cannot hold
  }
  if (fitted.empty()) return;
  Edit(hwnd, [&](QLineEdit& e) { e.insert(QString::fromStdU16String(fitted)); });
}

void Paste(HWND hwnd) {
  if (QClipboard* clipboard = QGuiApplication::clipboard()) {
    QString text = clipboard->text();
    // A single line: what follows the first line break stays out.
    qsizetype end = text.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    if (end >= 0) text.truncate(end);
    if (!text.isEmpty()) Type(hwnd, text.toStdU16String());
  }
}

void TypeByte(HWND hwnd, unsigned char byte) {
  EditState* state = StateOf(hwnd);
  if (!state) return;
  if (state->pendingLead >= 0) {
    char pair[2] = {static_cast<char>(state->pendingLead), static_cast<char>(byte)};
    state->pendingLead = -1;
    Type(hwnd, cp932::ToUtf16(std::string_view(pair, 2)));
    return;
  }
  if (cp932::IsLeadByte(byte)) {
    state->pendingLead = byte;
    return;
  }
  bool readOnly = EditOf(hwnd) && EditOf(hwnd)->isReadOnly();
  switch (byte) {
    case 0x08:  // Backspace
      if (!readOnly) Edit(hwnd, [](QLineEdit& e) { e.backspace(); });
      return;
    case 0x01:  // Ctrl+A
      if (QLineEdit* e = EditOf(hwnd)) e->selectAll();
      return;
    case 0x03:  // Ctrl+C
      SendMessageA(hwnd, WM_COPY, 0, 0);
      return;
    case 0x16:  // Ctrl+V
      SendMessageA(hwnd, WM_PASTE, 0, 0);
      return;
    case 0x18:  // Ctrl+X
      SendMessageA(hwnd, WM_CUT, 0, 0);
      return;
    case 0x1A:  // Ctrl+Z
      SendMessageA(hwnd, WM_UNDO, 0, 0);
      return;
    default:
      if (byte < 0x20) return;
      char single = static_cast<char>(byte);
      Type(hwnd, cp932::ToUtf16(std::string_view(&single, 1)));
      return;
  }
}

void KeyDown(HWND hwnd, WPARAM key) {
  QLineEdit* edit = EditOf(hwnd);
  if (!edit) return;
  if (EditState* state = StateOf(hwnd)) state->pendingLead = -1;
  bool shift = GetKeyState(VK_SHIFT) < 0;
  bool control = GetKeyState(VK_CONTROL) < 0;
  switch (key) {
    case VK_LEFT:
      control ? edit->cursorWordBackward(shift) : edit->cursorBackward(shift, 1);
      break;
    case VK_RIGHT:
      control ? edit->cursorWordForward(shift) : edit->cursorForward(shift, 1);
      break;
    case VK_HOME:
      edit->home(shift);
      break;
    case VK_END:
      edit->end(shift);
      break;
    case VK_DELETE:
      if (shift) {
        SendMessageA(hwnd, WM_CUT, 0, 0);
      } else if (!edit->isReadOnly()) {
        Edit(hwnd, [](QLineEdit& e) { e.del(); });
      }
      break;
    case VK_INSERT:
      if (shift) SendMessageA(hwnd, WM_PASTE, 0, 0);
      if (control) SendMessageA(hwnd, WM_COPY, 0, 0);
      break;
    default:
      break;
  }
}

LRESULT SetSelection(HWND hwnd, WPARAM start, LPARAM end) {
  QLineEdit* edit = EditOf(hwnd);
  if (!edit) return 0;
  std::u16string text = edit->text().toStdU16String();
  std::size_t total = Cp932Length(text);
  auto from = static_cast<int>(static_cast<DWORD>(start));
  auto to = static_cast<int>(static_cast<DWORD>(end));
  if (from == -1) {
    edit->deselect();
    return 0;
  }
  std::size_t a = from < 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(from), total);
  std::size_t b = to < 0 ? total : std::min<std::size_t>(static_cast<std::size_t>(to), total);
  auto first = static_cast<int>(IndexAtByte(text, a));
  auto last = static_cast<int>(IndexAtByte(text, b));
  // The caret goes to `end`, whichever side of the selection that is.
  edit->setSelection(first, last - first);
  return 0;
}

LRESULT GetSelection(HWND hwnd, WPARAM startOut, LPARAM endOut) {
  QLineEdit* edit = EditOf(hwnd);
  if (!edit) return 0;
  std::u16string text = edit->text().toStdU16String();
  int first = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
  int last = edit->hasSelectedText() ? static_cast<int>(first + edit->selectedText().size()) : first;
  auto start = static_cast<DWORD>(ByteOffsetOf(text, static_cast<std::size_t>(first)));
  auto end = static_cast<DWORD>(ByteOffsetOf(text, static_cast<std::size_t>(last)));
  if (auto* out = reinterpret_cast<DWORD*>(startOut)) *out = start;
  if (auto* out = reinterpret_cast<DWORD*>(endOut)) *out = end;
  if (start > 0xFFFF || end > 0xFFFF) return -1;
  return MAKELRESULT(start, end);
}

LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE: {
      LRESULT r = DefWindowProcA(hwnd, message, wParam, lParam);
      Window* w = LookupWindow(hwnd);
      if (QLineEdit* edit = EditOf(hwnd); w && edit) edit->setText(QString::fromStdU16String(cp932::ToUtf16(w->text)));
      StateOf(hwnd);
      return r;
    }
    case WM_SETTEXT: {
      // Text set by the program is not held to the limit.
      QLineEdit* edit = EditOf(hwnd);
      Window* w = LookupWindow(hwnd);
      if (!edit || !w) return FALSE;
      const char* text = lParam ? reinterpret_cast<const char*>(lParam) : "";
      if (EditState* state = StateOf(hwnd)) state->pendingLead = -1;
      edit->setText(QString::fromStdU16String(cp932::ToUtf16(text)));
      w->text = text;
      NotifyParent(hwnd, EN_UPDATE);
      NotifyParent(hwnd, EN_CHANGE);
      return TRUE;
    }
    case WM_CHAR:
      TypeByte(hwnd, static_cast<unsigned char>(wParam & 0xFF));
      return 0;
    case WM_IME_CHAR: {
      char bytes[2] = {static_cast<char>((wParam >> 8) & 0xFF), static_cast<char>(wParam & 0xFF)};
      std::string_view character = wParam > 0xFF ? std::string_view(bytes, 2) : std::string_view(bytes + 1, 1);
      Type(hwnd, cp932::ToUtf16(character));
      return 0;
    }
    case WM_KEYDOWN:
      KeyDown(hwnd, wParam);
      return 0;
    case EM_LIMITTEXT:
      if (EditState* state = StateOf(hwnd)) {
        state->limit = wParam ? std::min<std::size_t>(wParam, kLargestLimit) : kLargestLimit;
      }
      return 0;
    case EM_GETLIMITTEXT: {
      EditState* state = StateOf(hwnd);
      return state ? static_cast<LRESULT>(state->limit) : 0;
    }
    case EM_SETSEL:
      return SetSelection(hwnd, wParam, lParam);
    case EM_GETSEL:
      return GetSelection(hwnd, wParam, lParam);
    case EM_REPLACESEL:
      if (lParam) Type(hwnd, cp932::ToUtf16(reinterpret_cast<const char*>(lParam)));
      return 0;
    case WM_COPY:
      if (QLineEdit* e = EditOf(hwnd); e && e->echoMode() == QLineEdit::Normal) e->copy();
      return 0;
    case WM_CUT:
      if (QLineEdit* e = EditOf(hwnd); e && !e->isReadOnly() && e->echoMode() == QLineEdit::Normal) {
        Edit(hwnd, [](QLineEdit& line) { line.cut(); });
      }
      return 0;
    case WM_CLEAR:
      if (QLineEdit* e = EditOf(hwnd); e && !e->isReadOnly() && e->hasSelectedText()) {
        Edit(hwnd, [](QLineEdit& line) { line.del(); });
      }
      return 0;
    case WM_PASTE:
      Paste(hwnd);
      return 0;
    case WM_UNDO:
      if (QLineEdit* e = EditOf(hwnd); e && !e->isReadOnly()) Edit(hwnd, [](QLineEdit& line) { line.undo(); });
      return TRUE;
    case WM_GETDLGCODE:
      return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    case WM_SETFOCUS:
      NotifyParent(hwnd, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      if (EditState* state = StateOf(hwnd)) state->pendingLead = -1;
      NotifyParent(hwnd, EN_KILLFOCUS);
      return 0;
    default:
      return DefControlProc(hwnd, message, wParam, lParam);
  }
}

}  // namespace

void RegisterEditClass() { RegisterControlClass("EDIT", EditProc, IDC_IBEAM, MakeEdit); }

}  // namespace win32::user32
