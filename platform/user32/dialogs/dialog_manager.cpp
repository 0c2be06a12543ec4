// The dialog manager: the dialog class and its default procedure (DefDlgProcA), the
// keyboard interface (IsDialogMessageA), and the functions on a dialog's controls.
#include <algorithm>

#include "platform/common/codepage.h"
#include "platform/kernel32/kernel32.h"
#include "platform/user32/dialogs/dialog_state.h"
#include "platform/user32/dialogs/dialog_units.h"
#include "platform/user32/window_table.h"

namespace win32::user32 {
namespace {

constexpr WPARAM kButtonClicked = BN_CLICKED;

bool IsPushButton(HWND control) {
  return (SendMessageA(control, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

int DefaultId(HWND dialog) {
  LRESULT r = SendMessageA(dialog, DM_GETDEFID, 0, 0);
  return HIWORD(r) == DC_HASDEFID ? LOWORD(r) : IDOK;
}

// The command a button sends, as if it were clicked; a disabled button only beeps.
void Click(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  if (button && !IsWindowEnabled(button)) {
    MessageBeep(0);
    return;
  }
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, kButtonClicked), reinterpret_cast<LPARAM>(button));
}

bool CanTakeFocus(HWND control) {
  Window* c = LookupWindow(control);
  return c && c->IsVisible() && c->enabled;
}

// The character after the single '&' of a control's text (0 when it has none).
unsigned char MnemonicOf(HWND control) {
  Window* c = LookupWindow(control);
  if (!c) return 0;
  const std::string& text = c->text;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (cp932::IsLeadByte(static_cast<unsigned char>(text[i]))) {
      ++i;  // a double-byte character, whose trail byte may look like a letter
      continue;
    }
    if (text[i] != '&') continue;
    if (text[i + 1] != '&') return static_cast<unsigned char>(text[i + 1]);
    ++i;
  }
  return 0;
}

// The control after (or before) `control` in its group, the run of controls from one with
// WS_GROUP up to the next one with it, wrapping around inside the group and passing over
// hidden and disabled ones: where the arrow keys move the focus.
HWND NextInGroup(HWND dialog, HWND control, bool previous) {
  Window* d = LookupWindow(dialog);
  if (!d) return nullptr;
  const std::vector<HWND>& all = d->children;
  auto at = std::find(all.begin(), all.end(), control);
  if (at == all.end()) return nullptr;
  auto startsGroup = [](HWND c) {
    Window* w = LookupWindow(c);
    return w && (w->style & WS_GROUP);
  };
  auto first = at;
  while (first != all.begin() && !startsGroup(*first)) --first;
  auto last = at + 1;
  while (last != all.end() && !startsGroup(*last)) ++last;
  auto size = last - first;
  auto index = at - first;
  for (std::ptrdiff_t step = 1; step < size; ++step) {
    HWND candidate = *(first + (previous ? index - step + size : index + step) % size);
    if (CanTakeFocus(candidate)) return candidate;
  }
  return control;
}

unsigned char Fold(unsigned char c) { return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 32) : c; }

// A mnemonic typed in the dialog: a button is clicked, a label hands the focus on to the
// control after it.
bool HandleMnemonic(HWND dialog, unsigned char typed) {
  Window* d = LookupWindow(dialog);
  if (!d || !typed || typed >= 0x80) return false;
  for (HWND control : std::vector<HWND>(d->children)) {
    if (!CanTakeFocus(control) || Fold(MnemonicOf(control)) != Fold(typed)) continue;
    LRESULT code = SendMessageA(control, WM_GETDLGCODE, 0, 0);
    if (code & DLGC_STATIC) {
      Window* c = LookupWindow(control);
      if (c && (c->style & SS_NOPREFIX)) continue;
      if (HWND next = GetNextDlgTabItem(dialog, control, FALSE)) SetFocus(next);
      return true;
    }
    if (code & DLGC_BUTTON) {
      SetFocus(control);
      Click(dialog, GetDlgCtrlID(control));
      return true;
    }
  }
  return false;
}

// The messages whose result is the dialog procedure's own return value, not DWLP_MSGRESULT.
bool ReturnsProcResult(UINT message) {
  return message == WM_INITDIALOG || message == WM_CTLCOLORSTATIC || (message >= 0x0132 && message <= 0x0138) ||
         message == 0x0039 /* WM_COMPAREITEM */ || message == 0x002E /* WM_VKEYTOITEM */ ||
         message == 0x002F /* WM_CHARTOITEM */ || message == 0x0037 /* WM_QUERYDRAGICON */;
}

LRESULT DefaultDialogProcessing(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  DialogState* state = DialogOf(dialog);
  switch (message) {
    case WM_CLOSE: {
      // The close box acts as a click on Cancel (which a disabled Cancel button refuses).
      HWND cancel = GetDlgItem(dialog, IDCANCEL);
      if (cancel && !IsWindowEnabled(cancel)) {
        MessageBeep(0);
      } else {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, kButtonClicked), reinterpret_cast<LPARAM>(cancel));
      }
      return 0;
    }
    case DM_GETDEFID:
      if (state && state->defaultId) return MAKELRESULT(state->defaultId, DC_HASDEFID);
      return 0;
    case DM_SETDEFID: {
      if (!state) return FALSE;
      int old = state->defaultId;
      state->defaultId = static_cast<int>(wParam);
      if (HWND previous = GetDlgItem(dialog, old)) SendMessageA(previous, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
      if (HWND now = GetDlgItem(dialog, state->defaultId)) SendMessageA(now, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
      return TRUE;
    }
    case WM_NEXTDLGCTL: {
      HWND target = lParam ? reinterpret_cast<HWND>(wParam) : GetNextDlgTabItem(dialog, GetFocus(), wParam != 0);
      FocusControl(target);
      return 0;
    }
    case WM_SETFOCUS: {
      // The dialog hands the focus on to a control: the one that had it, else the first tab stop.
      Window* d = LookupWindow(dialog);
      HWND target = d && d->lastFocus && IsChild(dialog, d->lastFocus) ? d->lastFocus
                                                                         : GetNextDlgTabItem(dialog, nullptr, FALSE);
      if (target) SetFocus(target);
      return 0;
    }
    default:
      return DefWindowProcA(dialog, message, wParam, lParam);
  }
}

LRESULT CALLBACK DialogClassProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefDlgProcA(dialog, message, wParam, lParam);
}

}  // namespace

void FocusControl(HWND control) {
  if (!control) return;
  SetFocus(control);
  if (SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageA(control, EM_SETSEL, 0, -1);
}

DialogState* DialogOf(HWND hwnd) {
  Window* w = LookupWindow(hwnd);
  return w ? w->Extension<DialogState>() : nullptr;
}

void RegisterDialogClass() {
  WindowClass c;
  c.name = kDialogClass;
  c.proc = DialogClassProc;
  c.windowExtra = DLGWINDOWEXTRA;
  c.background = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_BTNFACE + 1));
  c.cursor = LoadCursorA(nullptr, IDC_ARROW);
  c.style = CS_DBLCLKS;
  RegisterSystemClass(std::move(c));
}

}  // namespace win32::user32

using namespace win32::user32;

LRESULT WINAPI DefDlgProcA(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  DialogState* state = DialogOf(dialog);
  if (state && state->proc) {
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 0);
    INT_PTR handled = state->proc(dialog, message, wParam, lParam);
    if (!IsWindow(dialog)) return handled;
    if (handled) return ReturnsProcResult(message) ? handled : GetWindowLongPtrA(dialog, DWLP_MSGRESULT);
  }
  return DefaultDialogProcessing(dialog, message, wParam, lParam);
}

BOOL WINAPI EndDialog(HWND dialog, INT_PTR result) {
  DialogState* state = DialogOf(dialog);
  if (!state) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  state->result = result;
  state->ended = true;
  ShowWindow(dialog, SW_HIDE);
  // The modal loop may be waiting for a message: this one tells it to look.
  PostMessageA(dialog, WM_NULL, 0, 0);
  return TRUE;
}

HWND WINAPI GetDlgItem(HWND dialog, int id) {
  Window* d = WindowOrError(dialog);
  if (!d) return nullptr;
  for (HWND child : d->children) {
    Window* c = LookupWindow(child);
    if (c && static_cast<int>(c->id) == id) return child;
  }
  // Identifiers of plain templates are 16 bits: -1 stands for 0xFFFF there.
  if (id < 0) return GetDlgItem(dialog, id & 0xFFFF);
  SetLastError(1421);  // ERROR_CONTROL_ID_NOT_FOUND
  return nullptr;
}

int WINAPI GetDlgCtrlID(HWND control) {
  Window* c = WindowOrError(control);
  return c && c->IsChild() ? static_cast<int>(c->id) : 0;
}

LRESULT WINAPI SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND control = GetDlgItem(dialog, id);
  return control ? SendMessageA(control, message, wParam, lParam) : 0;
}

BOOL WINAPI SetDlgItemTextA(HWND dialog, int id, LPCSTR text) {
  HWND control = GetDlgItem(dialog, id);
  return control ? SetWindowTextA(control, text) : FALSE;
}

UINT WINAPI GetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int size) {
  HWND control = GetDlgItem(dialog, id);
  if (!control) {
    if (buffer && size > 0) buffer[0] = '\0';
    return 0;
  }
  return static_cast<UINT>(GetWindowTextA(control, buffer, size));
}

BOOL WINAPI MapDialogRect(HWND dialog, LPRECT rect) {
  DialogState* state = DialogOf(dialog);
  if (!state || !rect) return FALSE;
  rect->left = MulDiv(rect->left, state->units.x, 4);
  rect->right = MulDiv(rect->right, state->units.x, 4);
  rect->top = MulDiv(rect->top, state->units.y, 8);
  rect->bottom = MulDiv(rect->bottom, state->units.y, 8);
  return TRUE;
}

HWND WINAPI GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
  Window* d = WindowOrError(dialog);
  if (!d) return nullptr;
  std::vector<HWND> stops;
  for (HWND child : d->children) {
    Window* c = LookupWindow(child);
    if (c && (c->style & WS_TABSTOP) && CanTakeFocus(child)) stops.push_back(child);
  }
  if (stops.empty()) return nullptr;
  auto at = std::find(stops.begin(), stops.end(), control);
  if (at == stops.end()) {
    // From a control that is no tab stop: the next one after it in the dialog's order.
    auto& all = d->children;
    auto pos = std::find(all.begin(), all.end(), control);
    if (pos == all.end()) return previous ? stops.back() : stops.front();
    if (previous) {
      for (auto it = std::make_reverse_iterator(pos); it != all.rend(); ++it) {
        if (std::find(stops.begin(), stops.end(), *it) != stops.end()) return *it;
      }
      return stops.back();
    }
    for (auto it = pos + 1; it != all.end(); ++it) {
      if (std::find(stops.begin(), stops.end(), *it) != stops.end()) return *it;
    }
    return stops.front();
  }
  std::size_t i = static_cast<std::size_t>(at - stops.begin());
  std::size_t n = stops.size();
  return stops[previous ? (i + n - 1) % n : (i + 1) % n];
}

BOOL WINAPI IsDialogMessageA(HWND dialog, LPMSG msg) {
  if (!msg || !dialog || !IsWindow(dialog)) return FALSE;
  if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)) return FALSE;
  LRESULT code = SendMessageA(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg));
  switch (msg->message) {
    case WM_KEYDOWN:
      if (code & DLGC_WANTALLKEYS) break;
      switch (msg->wParam) {
        case VK_TAB:
          if (code & DLGC_WANTTAB) break;
          FocusControl(GetNextDlgTabItem(dialog, GetFocus(), GetKeyState(VK_SHIFT) < 0));
          return TRUE;
        case VK_RETURN: {
          HWND focus = GetFocus();
          // A focused push button is the one Enter presses; otherwise the default button.
          if (focus && IsChild(dialog, focus) && IsPushButton(focus)) {
            Click(dialog, GetDlgCtrlID(focus));
          } else {
            Click(dialog, DefaultId(dialog));
          }
          return TRUE;
        }
        case VK_ESCAPE:
          Click(dialog, IDCANCEL);
          return TRUE;
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
          if (code & DLGC_WANTARROWS) break;
          FocusControl(NextInGroup(dialog, GetFocus(), msg->wParam == VK_LEFT || msg->wParam == VK_UP));
          return TRUE;
        default:
          break;
      }
      break;
    case WM_CHAR:
      // The keys the dialog took on their key-down type nothing into the control.
      if ((msg->wParam == '\t' && !(code & DLGC_WANTTAB)) ||
          ((msg->wParam == '\r' || msg->wParam == 0x1B) && !(code & DLGC_WANTALLKEYS))) {
        return TRUE;
      }
      if (!(code & (DLGC_WANTCHARS | DLGC_WANTALLKEYS)) && HandleMnemonic(dialog, static_cast<unsigned char>(msg->wParam))) {
        return TRUE;
      }
      break;
    case WM_SYSCHAR:
      if (HandleMnemonic(dialog, static_cast<unsigned char>(msg->wParam))) return TRUE;
      break;
    default:
      break;
  }
  TranslateMessage(msg);
  DispatchMessageA(msg);
  return TRUE;
}
