// GetSystemMetrics, GetSysColor and MessageBeep.
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

#include "platform/user32/display/current_mode.h"
#include "platform/user32/frame_metrics.h"
#include "platform/user32/qt/event_pump.h"
#include "platform/user32/user32.h"
#include "platform/user32/work_area.h"

namespace win32::user32 {
namespace {

QRect VirtualDesktop() {
  if (qt::RunsQt() && !display::ScreenIsEmulated()) {
    if (QScreen* screen = QGuiApplication::primaryScreen()) return screen->virtualGeometry();
  }
  return ScreenArea();
}

// The system colours of Windows' default ("classic" values of Windows 10), 0x00BBGGRR.
constexpr COLORREF kSystemColors[] = {
    0xC8C8C8,  // COLOR_SCROLLBAR
    0x000000,  // COLOR_BACKGROUND
    0xD1B499,  // COLOR_ACTIVECAPTION
    0xDBCDBF,  // COLOR_INACTIVECAPTION
    0xF0F0F0,  // COLOR_MENU
    0xFFFFFF,  // COLOR_WINDOW
    0x646464,  // COLOR_WINDOWFRAME
    0x000000,  // COLOR_MENUTEXT
    0x000000,  // COLOR_WINDOWTEXT
    0x000000,  // COLOR_CAPTIONTEXT
    0xB4B4B4,  // COLOR_ACTIVEBORDER
    0xFCF7F4,  // COLOR_INACTIVEBORDER
    0xABABAB,  // COLOR_APPWORKSPACE
    0xD77800,  // COLOR_HIGHLIGHT
    0xFFFFFF,  // COLOR_HIGHLIGHTTEXT
    0xF0F0F0,  // COLOR_BTNFACE
    0xA0A0A0,  // COLOR_BTNSHADOW
    0x6D6D6D,  // COLOR_GRAYTEXT
    0x000000,  // COLOR_BTNTEXT
    0x000000,  // COLOR_INACTIVECAPTIONTEXT
    0xFFFFFF,  // COLOR_BTNHIGHLIGHT
    0x696969,  // COLOR_3DDKSHADOW
    0xE3E3E3,  // COLOR_3DLIGHT
    0x000000,  // COLOR_INFOTEXT
    0xE1FFFF,  // COLOR_INFOBK
    0xB5B5B5,  // (25, unused)
    0xCC6600,  // COLOR_HOTLIGHT
    0xEAD1B9,  // COLOR_GRADIENTACTIVECAPTION
    0xF2E4D7,  // COLOR_GRADIENTINACTIVECAPTION
    0xFF9933,  // COLOR_MENUHILIGHT
    0xF0F0F0,  // COLOR_MENUBAR
};

}  // namespace
}  // namespace win32::user32

using namespace win32::user32;

int WINAPI GetSystemMetrics(int index) {
  QMargins decoration = DecorationFor(WS_OVERLAPPEDWINDOW);
  switch (index) {
    case SM_CXSCREEN:
      return win32::display::CurrentScreenMode().width;
    case SM_CYSCREEN:
      return win32::display::CurrentScreenMode().height;
    case SM_CXFULLSCREEN:
      return WorkArea().width();
    case SM_CYFULLSCREEN:
      return std::max(0, WorkArea().height() - (decoration.top() - decoration.bottom()));
    case SM_CXMAXIMIZED:
      return WorkArea().width();
    case SM_CYMAXIMIZED:
      return WorkArea().height();
    case SM_CXVIRTUALSCREEN:
      return VirtualDesktop().width();
    case SM_CYVIRTUALSCREEN:
      return VirtualDesktop().height();
    case SM_CMONITORS:
      return qt::RunsQt() ? static_cast<int>(QGuiApplication::screens().size()) : 1;
    // The decoration is what the window manager draws; as far as it is known.
    case SM_CYCAPTION:
    case SM_CYSIZE:
    case SM_CXSIZE:
      return std::max(0, decoration.top() - decoration.bottom());
    case SM_CXBORDER:
    case SM_CYBORDER:
      return 1;
    case SM_CXDLGFRAME:
    case SM_CXFRAME:
      return decoration.left();
    case SM_CYDLGFRAME:
    case SM_CYFRAME:
      return decoration.bottom();
    case SM_CYMENU:
      return MenuBarHeight();
    case SM_CXICON:
    case SM_CYICON:
      return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
      return 16;
    case SM_CXMIN:
      return 112;
    case SM_CYMIN:
      return 27;
    default:
      return 0;
  }
}

DWORD WINAPI GetSysColor(int index) {
  if (index < 0 || index >= static_cast<int>(std::size(kSystemColors))) return 0;
  return kSystemColors[index];
}

BOOL WINAPI MessageBeep(UINT) {
  if (qt::RunsQt()) QApplication::beep();
  return TRUE;
}
