#include "platform/user32/frame_metrics.h"

#include <QMenuBar>

#include "platform/user32/qt/event_pump.h"
#include "platform/user32/user32.h"

namespace win32::user32 {
namespace {

// Trivially destructible, so usable after main() has returned.
QMargins knownDecoration;
int menuBarHeight = 0;

// Before Qt can measure a menu bar: the height of a menu bar on Windows at 96 dpi.
constexpr int kDefaultMenuBarHeight = 20;

}  // namespace

bool HasDecoration(DWORD style) { return (style & WS_CHILD) == 0 && (style & WS_CAPTION) == WS_CAPTION; }

QMargins DecorationFor(DWORD style) { return HasDecoration(style) ? knownDecoration : QMargins(); }

void NoteDecoration(QMargins margins) { knownDecoration = margins; }

int MenuBarHeight() {
  if (menuBarHeight > 0) return menuBarHeight;
  if (!qt::RunsQt()) return kDefaultMenuBarHeight;
  QMenuBar bar;
  bar.addMenu(QString::fromUtf8(u8"ゲーム(&G)"));
  bar.addMenu(QStringLiteral("&Game"));
  menuBarHeight = bar.sizeHint().height();
  return menuBarHeight;
}

}  // namespace win32::user32

using namespace win32::user32;

BOOL WINAPI AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD) {
  if (!rect) return FALSE;
  QMargins m = DecorationFor(style);
  rect->left -= m.left();
  rect->top -= m.top();
  rect->right += m.right();
  rect->bottom += m.bottom();
  if (menu && !(style & WS_CHILD)) rect->top -= MenuBarHeight();
  return TRUE;
}
