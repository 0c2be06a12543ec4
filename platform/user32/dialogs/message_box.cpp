// MessageBoxA: a dialog built in memory around the text, with the buttons a Japanese
// Windows shows, run modally like any dialog.
#include <QFontMetrics>
#include <vector>

#include "platform/common/codepage.h"
#include "platform/gdi32/gdi32.h"
#include "platform/user32/dialogs/dialog_builder.h"
#include "platform/user32/dialogs/dialog_units.h"
#include "platform/user32/dialogs/modal_loop.h"
#include "platform/user32/qt/qt_ready.h"
#include "platform/user32/window_table.h"
#include "platform/user32/work_area.h"

namespace win32::user32 {
namespace {

struct Button {
  int id;
  const char8_t* text;
};

// The buttons of each box type, left to right.
std::vector<Button> ButtonsOf(UINT type) {
  constexpr Button ok{IDOK, u8"OK"};
  constexpr Button cancel{IDCANCEL, u8"キャンセル"};
  constexpr Button yes{IDYES, u8"はい(&Y)"};
  constexpr Button no{IDNO, u8"いいえ(&N)"};
  constexpr Button abort{IDABORT, u8"中止(&A)"};
  constexpr Button retry{IDRETRY, u8"再試行(&R)"};
  constexpr Button ignore{IDIGNORE, u8"無視(&I)"};
  constexpr Button tryAgain{IDTRYAGAIN, u8"再実行(&T)"};
  constexpr Button continueButton{IDCONTINUE, u8"続行(&C)"};
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
      return {ok, cancel};
    case MB_ABORTRETRYIGNORE:
      return {abort, retry, ignore};
    case MB_YESNOCANCEL:
      return {yes, no, cancel};
    case MB_YESNO:
      return {yes, no};
    case MB_RETRYCANCEL:
      return {retry, cancel};
    case 6:  // MB_CANCELTRYCONTINUE
      return {cancel, tryAgain, continueButton};
    default:
      return {ok};
  }
}

bool HasCancel(UINT type) {
  for (const Button& b : ButtonsOf(type)) {
    if (b.id == IDCANCEL) return true;
  }
  return false;
}

// What Esc and the close box give: Cancel where there is one, OK in a box with OK alone,
// nothing otherwise (Yes/No must be answered).
int CancelAnswer(UINT type) {
  if (HasCancel(type)) return IDCANCEL;
  if ((type & MB_TYPEMASK) == MB_OK) return IDOK;
  return 0;
}

INT_PTR CALLBACK MessageBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto type = static_cast<UINT>(lParam);
      SetWindowLongPtrA(box, DWLP_USER, static_cast<LONG_PTR>(type));
      std::vector<Button> buttons = ButtonsOf(type);
      std::size_t index = ((type & MB_DEFMASK) >> 8);
      if (index >= buttons.size()) index = 0;
      SetFocus(GetDlgItem(box, buttons[index].id));
      return FALSE;  // the focus is set
    }
    case WM_COMMAND: {
      auto type = static_cast<UINT>(GetWindowLongPtrA(box, DWLP_USER));
      int id = LOWORD(wParam);
      if (id == IDCANCEL) id = CancelAnswer(type);
      for (const Button& b : ButtonsOf(type)) {
        if (b.id == id) EndDialog(box, id);
      }
      return TRUE;
    }
    default:
      return FALSE;
  }
}

int Ceil(int numerator, int denominator) { return denominator > 0 ? (numerator + denominator - 1) / denominator : 0; }

res::NameOrOrdinal Ordinal(WORD value) {
  res::NameOrOrdinal n;
  n.isOrdinal = true;
  n.ordinal = value;
  return n;
}

res::NameOrOrdinal Text(std::u16string text) {
  res::NameOrOrdinal n;
  n.name = std::move(text);
  return n;
}

res::DialogTemplate BoxTemplate(const std::u16string& text, const std::u16string& caption, UINT type) {
  constexpr short kMargin = 7;
  constexpr short kButtonWidth = 50;
  constexpr short kButtonHeight = 14;
  constexpr short kButtonGap = 4;
  res::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT | DS_CENTER;
  // Without an answer for Esc there is no close box either.
  if (CancelAnswer(type)) t.style |= WS_SYSMENU;
  t.title = caption;
  t.pointSize = 9;
  t.weight = FW_NORMAL;
  t.charset = SHIFTJIS_CHARSET;
  t.faceName = u"ＭＳ Ｐゴシック";

  QFont font = DialogFontOf(t);
  BaseUnits units = BaseUnitsOf(font);
  QRect work = WorkArea();
  int maxTextWidth = std::min(work.width() * 5 / 8, 640);
  QString shown = QString::fromStdU16String(text);
  QRect measured = QFontMetrics(font).boundingRect(QRect(0, 0, maxTextWidth, 100000),
                                                   Qt::AlignLeft | Qt::TextWordWrap, shown);
  // Pixels to dialog units, rounded up so that the text surely fits.
  auto textWidth = static_cast<short>(Ceil((measured.width() + 2) * 4, units.x));
  auto textHeight = static_cast<short>(Ceil((measured.height() + 1) * 8, units.y));

  std::vector<Button> buttons = ButtonsOf(type);
  auto count = static_cast<short>(buttons.size());
  auto buttonsWidth = static_cast<short>(count * kButtonWidth + (count - 1) * kButtonGap);
  auto inner = std::max<short>(std::max(textWidth, buttonsWidth), 100);
  t.cx = static_cast<short>(inner + 2 * kMargin);
  t.cy = static_cast<short>(kMargin + textHeight + kMargin + kButtonHeight + kMargin);

  res::DialogItem label;
  label.style = WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT | SS_NOPREFIX;
  label.x = kMargin;
  label.y = kMargin;
  label.cx = inner;
  label.cy = textHeight;
  label.id = 0xFFFF;
  label.windowClass = Ordinal(0x82);
  label.text = Text(text);
  t.items.push_back(label);

  std::size_t defaultIndex = (type & MB_DEFMASK) >> 8;
  auto x = static_cast<short>(kMargin + (inner - buttonsWidth) / 2);
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    res::DialogItem button;
    // The buttons make a group of their own, in which the arrow keys move the focus.
    button.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (i == 0 ? WS_GROUP : 0) |
                   (i == defaultIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    button.x = x;
    button.y = static_cast<short>(kMargin + textHeight + kMargin);
    button.cx = kButtonWidth;
    button.cy = kButtonHeight;
    button.id = static_cast<DWORD>(buttons[i].id);
    button.windowClass = Ordinal(0x80);
    button.text = Text(QString::fromUtf8(reinterpret_cast<const char*>(buttons[i].text)).toStdU16String());
    t.items.push_back(button);
    x = static_cast<short>(x + kButtonWidth + kButtonGap);
  }
  return t;
}

}  // namespace
}  // namespace win32::user32

using namespace win32::user32;

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  // Without windows there is no box, and no answer (0): never IDYES.
  if (!QtReady()) return 0;
  if (owner && !LookupWindow(owner)) owner = nullptr;
  HWND topOwner = owner ? TopLevelOf(owner) : nullptr;
  std::u16string body = win32::cp932::ToUtf16(text ? text : "");
  std::u16string title = caption ? win32::cp932::ToUtf16(caption) : u"エラー";
  HWND previousActive = GetActiveWindow();
  HWND box = CreateDialogFromTemplate(BoxTemplate(body, title, type), nullptr, topOwner, MessageBoxProc,
                                      static_cast<LPARAM>(type));
  if (!box) return 0;
  return static_cast<int>(RunModal(box, topOwner, previousActive));
}
