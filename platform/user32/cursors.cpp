// The mouse pointer: standard cursors, SetCursor, ShowCursor, GetCursorPos.
#include "platform/user32/cursors.h"

#include <QApplication>
#include <QCursor>
#include <QWidget>
#include <atomic>

#include "platform/user32/qt/event_pump.h"
#include "platform/user32/qt/widget_binding.h"
#include "platform/user32/screen_view.h"
#include "platform/user32/user32.h"
#include "platform/user32/window_table.h"

namespace win32::user32 {
namespace {

std::atomic<LONG> cursorX{0};
std::atomic<LONG> cursorY{0};
int showCount = 0;  // ShowCursor's display counter; the pointer shows while it is >= 0
HCURSOR currentCursor = nullptr;

struct StandardCursor {
  WORD id;
  Qt::CursorShape shape;
};
constexpr StandardCursor kStandardCursors[] = {
    {32512, Qt::ArrowCursor},         // IDC_ARROW
    {32513, Qt::IBeamCursor},         // IDC_IBEAM
    {32514, Qt::WaitCursor},          // IDC_WAIT
    {32515, Qt::CrossCursor},         // IDC_CROSS
    {32516, Qt::UpArrowCursor},       // IDC_UPARROW
    {32642, Qt::SizeFDiagCursor},     // IDC_SIZENWSE
    {32643, Qt::SizeBDiagCursor},     // IDC_SIZENESW
    {32644, Qt::SizeHorCursor},       // IDC_SIZEWE
    {32645, Qt::SizeVerCursor},       // IDC_SIZENS
    {32646, Qt::SizeAllCursor},       // IDC_SIZEALL
    {32648, Qt::ForbiddenCursor},     // IDC_NO
    {32649, Qt::PointingHandCursor},  // IDC_HAND
    {32650, Qt::BusyCursor},          // IDC_APPSTARTING
    {32651, Qt::WhatsThisCursor},     // IDC_HELP
};

// A standard cursor's handle is its identifier moved out of the range of other handles.
constexpr std::uintptr_t kCursorBase = 0x7C000000;

}  // namespace

std::optional<Qt::CursorShape> CursorShapeOf(HCURSOR cursor) {
  auto value = reinterpret_cast<std::uintptr_t>(cursor);
  for (const StandardCursor& c : kStandardCursors) {
    if (value == kCursorBase + c.id) return c.shape;
  }
  return std::nullopt;
}

POINT CursorPositionNow() {
  if (qt::RunsQt()) NoteCursorPosition(QCursor::pos());
  return POINT{cursorX.load(), cursorY.load()};
}

void NoteCursorPosition(QPoint global) {
  // On the program's screen, which may be an emulated one shown scaled.
  QPoint onScreen = ScreenView::OnDesktop().FromOutput(global);
  cursorX.store(onScreen.x());
  cursorY.store(onScreen.y());
}

}  // namespace win32::user32

using namespace win32::user32;

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
  // Only the system's cursors: the program carries none of its own.
  if (instance || !IS_INTRESOURCE(name)) return nullptr;
  for (const StandardCursor& c : kStandardCursors) {
    if (c.id == LOWORD(name)) return reinterpret_cast<HCURSOR>(kCursorBase + c.id);
  }
  return nullptr;
}

HCURSOR WINAPI SetCursor(HCURSOR cursor) {
  HCURSOR previous = currentCursor;
  currentCursor = cursor;
  if (!qt::RunsQt()) return previous;
  // The pointer takes the new shape over the window that has it, until the window's class
  // cursor is applied again.
  if (QWidget* under = QApplication::widgetAt(QCursor::pos())) {
    if (HwndOfWidget(under)) {
      auto shape = CursorShapeOf(cursor);
      under->setCursor(cursor && shape ? QCursor(*shape) : QCursor(Qt::BlankCursor));
    }
  }
  return previous;
}

int WINAPI ShowCursor(BOOL show) {
  int before = showCount;
  showCount += show ? 1 : -1;
  if (qt::RunsQt()) {
    if (before >= 0 && showCount < 0) QGuiApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
    if (before < 0 && showCount >= 0) QGuiApplication::restoreOverrideCursor();
  }
  return showCount;
}

BOOL WINAPI GetCursorPos(LPPOINT point) {
  if (!point) return FALSE;
  *point = CursorPositionNow();
  return TRUE;
}
