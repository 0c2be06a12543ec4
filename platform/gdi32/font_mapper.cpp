#include "platform/gdi32/font_mapper.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <algorithm>
#include <cmath>
#include <span>

#include "platform/common/immortal.h"
#include "platform/common/qt_application.h"

namespace win32::gdi {
namespace {

// What a Windows face looks like, and the free fonts that come closest, best first.
enum class Style { ProportionalGothic, FixedGothic, ProportionalMincho, FixedMincho };

struct Alias {
  std::u16string_view face;
  Style style;
};

constexpr Alias kAliases[] = {
    {u"ＭＳ Ｐゴシック", Style::ProportionalGothic},
    {u"MS PGothic", Style::ProportionalGothic},
    {u"ＭＳ ゴシック", Style::FixedGothic},
    {u"MS Gothic", Style::FixedGothic},
    {u"ＭＳ Ｐ明朝", Style::ProportionalMincho},
    {u"MS PMincho", Style::ProportionalMincho},
    {u"ＭＳ 明朝", Style::FixedMincho},
    {u"MS Mincho", Style::FixedMincho},
    // The faces of dialog templates and the stock fonts: on a Japanese desktop they all come
    // out as a proportional gothic.
    {u"System", Style::ProportionalGothic},
    {u"MS Shell Dlg", Style::ProportionalGothic},
    {u"MS Shell Dlg 2", Style::ProportionalGothic},
    {u"MS Sans Serif", Style::ProportionalGothic},
    {u"MS UI Gothic", Style::ProportionalGothic},
    {u"Meiryo", Style::ProportionalGothic},
    {u"メイリオ", Style::ProportionalGothic},
    {u"Meiryo UI", Style::ProportionalGothic},
    {u"Yu Gothic", Style::ProportionalGothic},
    {u"游ゴシック", Style::ProportionalGothic},
    {u"Yu Gothic UI", Style::ProportionalGothic},
    {u"Terminal", Style::FixedGothic},
    {u"Fixedsys", Style::FixedGothic},
};

std::span<const char* const> Candidates(Style style) {
  static constexpr const char* kProportionalGothic[] = {"IPAPGothic",       "VL PGothic",   "TakaoPGothic",
                                                        "Noto Sans CJK JP", "Noto Sans JP", "IPAexGothic"};
  static constexpr const char* kFixedGothic[] = {"IPAGothic", "VL Gothic", "TakaoGothic", "Noto Sans Mono CJK JP",
                                                 "IPAexGothic"};
  static constexpr const char* kProportionalMincho[] = {"IPAPMincho", "TakaoPMincho", "Noto Serif CJK JP",
                                                        "IPAexMincho"};
  static constexpr const char* kFixedMincho[] = {"IPAMincho", "TakaoMincho", "Noto Serif CJK JP", "IPAexMincho"};
  switch (style) {
    case Style::ProportionalGothic:
      return kProportionalGothic;
    case Style::FixedGothic:
      return kFixedGothic;
    case Style::ProportionalMincho:
      return kProportionalMincho;
    case Style::FixedMincho:
      return kFixedMincho;
  }
  return {};
}

QString FirstInstalled(Style style) {
  for (const char* family : Candidates(style))
    if (QFontDatabase::hasFamily(QString::fromLatin1(family))) return QString::fromLatin1(family);
  return {};
}

bool WantsFixedPitch(const FontRequest& r) { return (r.pitchAndFamily & 0x03) == FIXED_PITCH; }

QString JapaneseFamily(const FontRequest& r) {
  // Gothic of the right pitch, then the other pitch, then whatever Japanese font there is.
  Style first = WantsFixedPitch(r) ? Style::FixedGothic : Style::ProportionalGothic;
  Style second = WantsFixedPitch(r) ? Style::ProportionalGothic : Style::FixedGothic;
  for (Style style : {first, second})
    if (QString family = FirstInstalled(style); !family.isEmpty()) return family;
  QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
  return japanese.isEmpty() ? QString() : japanese.front();
}

// The ratio of ascent + descent to the em, which turns a cell height into an em size.
double CellToEm(const QString& family) {
  static Immortal<QHash<QString, double>> ratios;
  QHash<QString, double>& cache = *ratios;
  if (auto it = cache.constFind(family); it != cache.constEnd()) return *it;
  constexpr int kReference = 256;
  QFont font(family);
  font.setPixelSize(kReference);
  QFontMetricsF metrics(font);
  double ratio = (metrics.ascent() + metrics.descent()) / kReference;
  if (!(ratio > 0.25 && ratio < 4)) ratio = 1;  // a face with broken metrics is taken at its em
  cache.insert(family, ratio);
  return ratio;
}

constexpr int kDefaultEmPixels = 16;

}  // namespace

QString MapFamily(const FontRequest& request) {
  // Qt's font database exists only with the application.
  if (!qt::Application()) return {};
  QString face = QString::fromStdU16String(request.face).trimmed();
  if (!face.isEmpty()) {
    for (const Alias& alias : kAliases) {
      if (face.compare(QString::fromStdU16String(std::u16string(alias.face)), Qt::CaseInsensitive) == 0) {
        if (QString family = FirstInstalled(alias.style); !family.isEmpty()) return family;
        if (QString family = JapaneseFamily(request); !family.isEmpty()) return family;
        break;
      }
    }
    if (QFontDatabase::hasFamily(face)) return face;
  }
  // A Japanese program's default character set is Shift-JIS.
  if (request.charset == SHIFTJIS_CHARSET || request.charset == DEFAULT_CHARSET) {
    if (QString family = JapaneseFamily(request); !family.isEmpty()) return family;
  }
  QFontDatabase::SystemFont kind = WantsFixedPitch(request) ? QFontDatabase::FixedFont : QFontDatabase::GeneralFont;
  return QFontDatabase::systemFont(kind).family();
}

int EmPixelSize(const FontRequest& request, const QString& family) {
  if (request.height < 0) return std::max(1, -request.height);
  if (request.height == 0) return kDefaultEmPixels;
  // Without the application there are no metrics: the em is taken for the cell.
  const double cellToEm = qt::Application() ? CellToEm(family) : 1.0;
  return std::max(1, static_cast<int>(std::lround(request.height / cellToEm)));
}

QFont MapFont(const FontRequest& request) {
  QString family = MapFamily(request);
  QFont font(family);
  font.setPixelSize(EmPixelSize(request, family));
  font.setWeight(
      static_cast<QFont::Weight>(std::clamp(request.weight == FW_DONTCARE ? FW_NORMAL : request.weight, 1, 1000)));
  font.setItalic(request.italic);
  font.setUnderline(request.underline);
  font.setStrikeOut(request.strikeOut);
  // GDI's TextOut places glyphs by their advances alone.
  font.setKerning(false);
  int strategy = QFont::NoSubpixelAntialias;
  strategy |= request.quality == NONANTIALIASED_QUALITY ? QFont::NoAntialias : QFont::PreferAntialias;
  font.setStyleStrategy(static_cast<QFont::StyleStrategy>(strategy));
  if (request.width > 0 && qt::Application()) {
    double natural = QFontMetricsF(font).averageCharWidth();
    if (natural > 0) font.setStretch(std::clamp(static_cast<int>(std::lround(100 * request.width / natural)), 1, 4000));
  }
  return font;
}

}  // namespace win32::gdi
