// LoadBitmapA: a bitmap resource, stored as a packed DIB, becomes a bitmap in the screen's
// format.
#include "platform/gdi32/gdi32.h"
#include "platform/resources/dib.h"
#include "platform/resources/module_resources.h"
#include "platform/user32/user32.h"

HBITMAP WINAPI LoadBitmapA(HINSTANCE hInstance, LPCSTR lpBitmapName) {
  // A null instance asks for the system's own bitmaps (OBM_*), which the platform lacks.
  if (hInstance == nullptr || lpBitmapName == nullptr) return nullptr;
  std::optional<win32::res::PackedDib> dib =
      win32::res::ParsePackedDib(win32::res::Find(RT_BITMAP, lpBitmapName), 1);
  if (!dib) return nullptr;
  std::vector<DWORD> info = dib->BitmapInfo();
  const auto* bmi = reinterpret_cast<const BITMAPINFO*>(info.data());
  // Made for the screen, not for a memory DC, whose bitmap would be monochrome.
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateDIBitmap(screen, &bmi->bmiHeader, CBM_INIT, dib->bits.data(), bmi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return bitmap;
}
