#include "platform/user32/dialogs/dialog_units.h"

#include <QFontMetrics>

#include "platform/gdi32/font_mapper.h"
#include "platform/kernel32/kernel32.h"
#include "platform/user32/user32.h"

namespace win32::user32 {
namespace {

constexpr int kScreenDpi = 96;
constexpr int kSystemFontPoints = 9;

}  // namespace

QFont DialogFontOf(const res::DialogTemplate& dialog) {
  gdi::FontRequest request;
  if ((dialog.style & DS_SETFONT) && !dialog.faceName.empty()) {
    request.face = dialog.faceName;
    request.height = -MulDiv(dialog.pointSize, kScreenDpi, 72);
    request.weight = dialog.weight;
    request.italic = dialog.italic != 0;
    request.charset = dialog.charset;
  } else {
    request.face = u"System";
    request.height = -MulDiv(kSystemFontPoints, kScreenDpi, 72);
  }
  return gdi::MapFont(request);
}

BaseUnits BaseUnitsOf(const QFont& font) {
  QFontMetrics metrics(font);
  int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  // The width of the 52 letters divided by 52, rounded to the nearest pixel.
  return BaseUnits{(letters / 26 + 1) / 2, metrics.height()};
}

QRect DialogUnitsToPixels(int x, int y, int cx, int cy, BaseUnits units) {
  // A horizontal dialog unit is a quarter of baseX, a vertical one an eighth of baseY.
  return QRect(MulDiv(x, units.x, 4), MulDiv(y, units.y, 8), MulDiv(cx, units.x, 4), MulDiv(cy, units.y, 8));
}

}  // namespace win32::user32
