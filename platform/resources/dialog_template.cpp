// RT_DIALOG in its two forms. DLGTEMPLATE: style, extended style, item count, position and
// size, then menu, class and title, and for DS_SETFONT a point size and face name.
// DLGTEMPLATEEX starts with version 1 and signature 0xFFFF, adds a help id, and its font also
// carries weight, italic and character set. Items start on four-byte boundaries; an item of
// the extended form has a help id and a DWORD id. Each item ends with a count of creation-data
// bytes and those bytes.
#include "platform/resources/byte_reader.h"

namespace win32::res {
namespace {

constexpr WORD kExSignature = 0xFFFF;

// An extended template starts a dialog or item with a help id, and puts the extended style
// before the style.
void ReadStyles(ByteReader& r, bool extended, DWORD& helpId, DWORD& exStyle, DWORD& style) {
  if (extended) helpId = r.U32();
  const DWORD first = r.U32();
  const DWORD second = r.U32();
  exStyle = extended ? first : second;
  style = extended ? second : first;
}

void ReadRect(ByteReader& r, short& x, short& y, short& cx, short& cy) {
  x = r.I16();
  y = r.I16();
  cx = r.I16();
  cy = r.I16();
}

DialogItem ReadItem(ByteReader& r, bool extended) {
  DialogItem item;
  r.Align(4);
  ReadStyles(r, extended, item.helpId, item.exStyle, item.style);
  ReadRect(r, item.x, item.y, item.cx, item.cy);
  item.id = extended ? r.U32() : r.U16();
  item.windowClass = r.NameOrOrd();
  item.text = r.NameOrOrd();
  Bytes creation = r.Span(r.U16());
  item.creationData.assign(creation.begin(), creation.end());
  return item;
}

}  // namespace

std::optional<DialogTemplate> DecodeDialog(Bytes data) {
  ByteReader r(data);
  DialogTemplate dlg;
  dlg.extended = r.PeekU16() == 1 && ByteReader(data, 2).PeekU16() == kExSignature;
  if (dlg.extended) r.Skip(4);  // version and signature
  ReadStyles(r, dlg.extended, dlg.helpId, dlg.exStyle, dlg.style);
  const WORD count = r.U16();
  ReadRect(r, dlg.x, dlg.y, dlg.cx, dlg.cy);
  dlg.menu = r.NameOrOrd();
  dlg.windowClass = r.NameOrOrd();
  dlg.title = r.String();
  if (dlg.style & DS_SETFONT) {
    dlg.pointSize = r.U16();
    if (dlg.extended) {
      dlg.weight = r.U16();
      dlg.italic = r.U8();
      dlg.charset = r.U8();
    }
    dlg.faceName = r.String();
  }
  // Checked before each item, so a huge count in damaged data stops at the first overrun.
  for (WORD i = 0; i < count && r.ok(); ++i) dlg.items.push_back(ReadItem(r, dlg.extended));
  if (!r.ok()) return std::nullopt;
  return dlg;
}

}  // namespace win32::res
