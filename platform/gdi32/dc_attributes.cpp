// The drawing attributes a DC keeps: colours, background mode, stretch mode, text alignment
// and brush origin. Each setter returns the previous value, or the error value for a bad DC.
#include "platform/gdi32/handle_table.h"

using namespace win32::gdi;

namespace {

template <typename Value, typename Field>
Value Exchange(HDC hdc, Field DeviceContext::*field, Value value, Value error) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc) return error;
  Value previous = dc->*field;
  dc->*field = value;
  return previous;
}

template <typename Value, typename Field>
Value Read(HDC hdc, Field DeviceContext::*field, Value error) {
  DeviceContext* dc = FindDC(hdc);
  return dc ? static_cast<Value>(dc->*field) : error;
}

}  // namespace

COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color) {
  return Exchange<COLORREF>(hdc, &DeviceContext::bkColor, color & 0x00FFFFFF, CLR_INVALID);
}
COLORREF WINAPI GetBkColor(HDC hdc) { return Read<COLORREF>(hdc, &DeviceContext::bkColor, CLR_INVALID); }

COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color) {
  return Exchange<COLORREF>(hdc, &DeviceContext::textColor, color & 0x00FFFFFF, CLR_INVALID);
}
COLORREF WINAPI GetTextColor(HDC hdc) { return Read<COLORREF>(hdc, &DeviceContext::textColor, CLR_INVALID); }

int WINAPI SetBkMode(HDC hdc, int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  return Exchange<int>(hdc, &DeviceContext::bkMode, mode, 0);
}
int WINAPI GetBkMode(HDC hdc) { return Read<int>(hdc, &DeviceContext::bkMode, 0); }

int WINAPI SetStretchBltMode(HDC hdc, int mode) {
  if (mode < BLACKONWHITE || mode > HALFTONE) return 0;
  return Exchange<int>(hdc, &DeviceContext::stretchMode, mode, 0);
}
int WINAPI GetStretchBltMode(HDC hdc) { return Read<int>(hdc, &DeviceContext::stretchMode, 0); }

UINT WINAPI SetTextAlign(HDC hdc, UINT align) {
  return Exchange<UINT>(hdc, &DeviceContext::textAlign, align, GDI_ERROR);
}
UINT WINAPI GetTextAlign(HDC hdc) { return Read<UINT>(hdc, &DeviceContext::textAlign, GDI_ERROR); }

BOOL WINAPI SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc) return FALSE;
  if (lppt) *lppt = dc->brushOrigin;
  dc->brushOrigin = POINT{x, y};
  return TRUE;
}

BOOL WINAPI GetBrushOrgEx(HDC hdc, LPPOINT lppt) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc || !lppt) return FALSE;
  *lppt = dc->brushOrigin;
  return TRUE;
}
