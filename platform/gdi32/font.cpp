// Font objects. A font is only its LOGFONT until text is drawn with it; realising it is the
// business of font_cache.cpp, once per distinct request.
#include <cstring>

#include "platform/common/codepage.h"
#include "platform/gdi32/handle_table.h"

using namespace win32::gdi;

HFONT WINAPI CreateFontIndirectA(const LOGFONTA* lplf) {
  if (!lplf) return nullptr;
  Font font{*lplf, {}};
  // The face is at most LF_FACESIZE - 1 bytes and always terminated.
  font.logfont.lfFaceName[LF_FACESIZE - 1] = '\0';
  font.request = RequestFromLogFont(font.logfont);
  return static_cast<HFONT>(Objects().Insert(std::move(font)));
}

HFONT WINAPI CreateFontA(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight, DWORD bItalic,
                         DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet, DWORD iOutPrecision, DWORD iClipPrecision,
                         DWORD iQuality, DWORD iPitchAndFamily, LPCSTR pszFaceName) {
  LOGFONTA lf{};
  lf.lfHeight = cHeight;
  lf.lfWidth = cWidth;
  lf.lfEscapement = cEscapement;
  lf.lfOrientation = cOrientation;
  lf.lfWeight = cWeight;
  lf.lfItalic = static_cast<BYTE>(bItalic);
  lf.lfUnderline = static_cast<BYTE>(bUnderline);
  lf.lfStrikeOut = static_cast<BYTE>(bStrikeOut);
  lf.lfCharSet = static_cast<BYTE>(iCharSet);
  lf.lfOutPrecision = static_cast<BYTE>(iOutPrecision);
  lf.lfClipPrecision = static_cast<BYTE>(iClipPrecision);
  lf.lfQuality = static_cast<BYTE>(iQuality);
  lf.lfPitchAndFamily = static_cast<BYTE>(iPitchAndFamily);
  if (pszFaceName) {
    // Copy whole characters only: a face cut after a lead byte would decode to garbage.
    std::size_t n = 0;
    for (std::size_t i = 0; pszFaceName[i] != '\0';) {
      std::size_t len =
          win32::cp932::IsLeadByte(static_cast<unsigned char>(pszFaceName[i])) && pszFaceName[i + 1] != '\0' ? 2 : 1;
      if (i + len > LF_FACESIZE - 1) break;
      i += len;
      n = i;
    }
    std::memcpy(lf.lfFaceName, pszFaceName, n);
  }
  return CreateFontIndirectA(&lf);
}
