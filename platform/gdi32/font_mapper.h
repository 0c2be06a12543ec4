// The font mapper: which installed font draws a font that a Windows program asks for by
// face name, and at what size. gdi32's fonts use it, and so does user32 for the fonts of
// dialog templates.
#pragma once

#include <QFont>
#include <QString>

#include "platform/gdi32/font_request.h"

namespace win32::gdi {

// The installed family that stands in for `face`: the free Japanese gothics for the
// Japanese Windows faces ("ＭＳ Ｐゴシック" and "MS PGothic" → IPAPGothic, "ＭＳ ゴシック" and
// "MS Gothic" → IPAGothic, "System" and the dialog faces → a proportional gothic), the face
// itself when it is installed, any Japanese font for a Shift-JIS or default character set,
// and the desktop's general font otherwise. Without the Qt application (no display) there
// is no font database, and the family is empty.
QString MapFamily(const FontRequest& request);

// The em size in pixels that gives `request` its GDI height: a positive height is the cell
// height (ascent + descent), a negative one the em height. Without the Qt application a
// cell height is taken for the em.
int EmPixelSize(const FontRequest& request, const QString& family);

// A QFont for `request`: mapped family, pixel size as GDI sizes it, weight (a face without
// a bold or italic style is emboldened or slanted), underline, strike-out, stretch for a
// requested width, and antialiasing unless NONANTIALIASED_QUALITY is asked for. Without the
// Qt application the family stays unresolved and no stretch is worked out.
QFont MapFont(const FontRequest& request);

// Drops every Qt object that gdi32 keeps (realised fonts, laid-out texts). The platform
// calls it before the Qt application goes; without the application, text calls fail.
void ReleaseTextResources();

}  // namespace win32::gdi
