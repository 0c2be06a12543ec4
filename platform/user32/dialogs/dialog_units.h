// Dialog units: the font of a dialog template, its base units, and the mapping from dialog
// units to pixels (what MapDialogRect does).
#pragma once

#include <QFont>
#include <QRect>

#include "platform/resources/resource_formats.h"

namespace win32::user32 {

struct BaseUnits {
  int x = 0;  // the average width of the 52 letters, rounded
  int y = 0;  // the font's cell height
};

// The font a template asks for: its DS_SETFONT face and size, else the system font.
QFont DialogFontOf(const res::DialogTemplate& dialog);

// The base units of a dialog with this font.
BaseUnits BaseUnitsOf(const QFont& font);

// A rectangle in dialog units, in pixels.
QRect DialogUnitsToPixels(int x, int y, int cx, int cy, BaseUnits units);

}  // namespace win32::user32
