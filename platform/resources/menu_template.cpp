// RT_MENU in its two forms. A MENU template (version 0) is a list of items, each a WORD of
// MF_ flags, a WORD command (absent for drop-downs) and a zero-terminated text; a drop-down's
// own items follow it, and MF_END marks the last item of each list. A MENUEX template
// (version 1) has DWORD-aligned items with separate type and state, a DWORD command, a WORD
// with 0x80 for the last item and 0x01 for a drop-down, the text, and for a drop-down a help
// id before its own items.
#include "platform/resources/byte_reader.h"

namespace win32::res {
namespace {

// Menus nest a few levels deep; anything deeper is damage, and must not exhaust the stack.
constexpr int kMaxDepth = 32;

constexpr WORD kExLastItem = 0x80;
constexpr WORD kExPopup = 0x01;

bool ReadItems(ByteReader& r, std::vector<MenuItem>& items, int depth) {
  if (depth > kMaxDepth) return false;
  for (;;) {
    WORD option = r.U16();
    MenuItem item;
    item.flags = option & ~static_cast<UINT>(MF_END);
    if (!(option & MF_POPUP)) item.id = r.U16();
    item.text = r.String();
    if (!r.ok()) return false;
    // The old template writes a separator as an item with no command and no text.
    if (!(option & MF_POPUP) && item.id == 0 && item.text.empty()) item.flags |= MF_SEPARATOR;
    if ((option & MF_POPUP) && !ReadItems(r, item.items, depth + 1)) return false;
    items.push_back(std::move(item));
    if (option & MF_END) return true;
  }
}

bool ReadExItems(ByteReader& r, std::vector<MenuItem>& items, int depth) {
  if (depth > kMaxDepth) return false;
  for (;;) {
    r.Align(4);
    MenuItem item;
    DWORD type = r.U32();
    DWORD state = r.U32();
    item.id = r.U32();
    WORD info = r.U16();
    item.text = r.String();
    // MFS_HILITE shares its bit with MF_END, which never reaches a decoded item.
    item.flags = ((type | state) & ~static_cast<UINT>(MF_END)) | ((info & kExPopup) ? MF_POPUP : 0);
    if (!r.ok()) return false;
    if (info & kExPopup) {
      r.Align(4);
      r.U32();  // help id
      if (!ReadExItems(r, item.items, depth + 1)) return false;
    }
    items.push_back(std::move(item));
    if (info & kExLastItem) return true;
  }
}

}  // namespace

std::optional<std::vector<MenuItem>> DecodeMenu(Bytes data) {
  ByteReader r(data);
  WORD version = r.U16();
  WORD offset = r.U16();
  if (!r.ok()) return std::nullopt;
  std::vector<MenuItem> items;
  if (version == 0) {
    r.Skip(offset);
    if (!ReadItems(r, items, 0)) return std::nullopt;
  } else if (version == 1) {
    // The offset counts from the end of the offset field; it covers the menu's help id.
    r.Skip(offset);
    if (!ReadExItems(r, items, 0)) return std::nullopt;
  } else {
    return std::nullopt;
  }
  return items;
}

}  // namespace win32::res
