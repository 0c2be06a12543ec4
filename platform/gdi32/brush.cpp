// Brushes. Only solid brushes exist here, so the brush origin is kept and reported but
// never changes what is painted.
#include "platform/gdi32/handle_table.h"

using namespace win32::gdi;

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
  return static_cast<HBRUSH>(Objects().Insert(Brush{LOGBRUSH{BS_SOLID, color & 0x00FFFFFF, 0}}));
}
