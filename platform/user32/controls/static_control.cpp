// The STATIC control: a label (word-wrapped or not, '&' marking a mnemonic unless
// SS_NOPREFIX) or an icon.
#include <QIcon>
#include <QLabel>
#include <QPixmap>

#include "platform/common/codepage.h"
#include "platform/resources/resource_formats.h"
#include "platform/user32/controls/control_class.h"
#include "platform/user32/controls/system_classes.h"
#include "platform/user32/window_table.h"

namespace win32::user32 {
namespace {

struct StaticState final : WindowExtension {
  HICON icon = nullptr;
};

DWORD TypeOf(const Window& w) { return w.style & SS_TYPEMASK; }

// The text as shown: "&&" is an ampersand, a single '&' only marks the next letter.
QString DisplayText(const Window& w) {
  QString text = QString::fromStdU16String(cp932::ToUtf16(w.text));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  if (w.style & SS_NOPREFIX) return text;
  QString shown;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == u'&' && i + 1 < text.size()) ++i;
    shown += text[i];
  }
  return shown;
}

QLabel* LabelOf(HWND hwnd) {
  Window* w = LookupWindow(hwnd);
  return w ? qobject_cast<QLabel*>(w->widget.data()) : nullptr;
}

void ShowText(HWND hwnd) {
  Window* w = LookupWindow(hwnd);
  QLabel* label = LabelOf(hwnd);
  if (!w || !label || TypeOf(*w) == SS_ICON) return;
  label->setText(DisplayText(*w));
}

// An icon static takes the size of its icon, shown at the system's icon size.
void ShowIcon(HWND hwnd, HICON icon) {
  Window* w = LookupWindow(hwnd);
  if (!w) return;
  w->EnsureExtension<StaticState>().icon = icon;
  QLabel* label = LabelOf(hwnd);
  const auto* images = icon ? res::IconImages(icon) : nullptr;
  if (!label) return;
  if (!images || images->empty()) {
    label->clear();
    return;
  }
  constexpr int kIconSize = 32;
  const res::IconImage* best = &images->front();
  for (const res::IconImage& image : *images) {
    if (std::abs(image.width - kIconSize) < std::abs(best->width - kIconSize)) best = &image;
  }
  QImage image(reinterpret_cast<const uchar*>(best->pixels.data()), best->width, best->height, best->width * 4,
               QImage::Format_ARGB32);
  QPixmap pixmap =
      QPixmap::fromImage(image.scaled(kIconSize, kIconSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
  label->setPixmap(pixmap);
  SetWindowPos(hwnd, nullptr, 0, 0, kIconSize, kIconSize, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

QWidget* MakeLabel(Window& w, QWidget* parent) {
  auto* label = new QLabel(parent);  // owned by its Qt parent
  label->setTextFormat(Qt::PlainText);
  label->setFocusPolicy(Qt::NoFocus);
  Qt::Alignment horizontal = Qt::AlignLeft;
  if (TypeOf(w) == SS_CENTER) horizontal = Qt::AlignHCenter;
  if (TypeOf(w) == SS_RIGHT) horizontal = Qt::AlignRight;
  label->setAlignment(horizontal |
                      (TypeOf(w) == SS_ICON || (w.style & SS_CENTERIMAGE) ? Qt::AlignVCenter : Qt::AlignTop));
  // SS_LEFT, SS_CENTER and SS_RIGHT wrap at words; SS_LEFTNOWORDWRAP and the rest clip.
  label->setWordWrap(TypeOf(w) == SS_LEFT || TypeOf(w) == SS_CENTER || TypeOf(w) == SS_RIGHT);
  return label;
}

LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
    case WM_SETTEXT:
      return KeepAndShowText(hwnd, message, wParam, lParam, ShowText);
    case STM_SETICON: {
      Window* w = LookupWindow(hwnd);
      auto* state = w ? w->Extension<StaticState>() : nullptr;
      HICON old = state ? state->icon : nullptr;
      ShowIcon(hwnd, reinterpret_cast<HICON>(wParam));
      return reinterpret_cast<LRESULT>(old);
    }
    case STM_GETICON: {
      Window* w = LookupWindow(hwnd);
      auto* state = w ? w->Extension<StaticState>() : nullptr;
      return reinterpret_cast<LRESULT>(state ? state->icon : nullptr);
    }
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    default:
      return DefControlProc(hwnd, message, wParam, lParam);
  }
}

}  // namespace

void RegisterStaticClass() { RegisterControlClass("STATIC", StaticProc, IDC_ARROW, MakeLabel); }

}  // namespace win32::user32
