// Decoders for Windows' binary resource formats. Every decoder checks every size against
// the data it is given and returns nothing for damaged data; none reads out of bounds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/user32/user32.h"
#include "platform/win32_types.h"

namespace win32::res {

using Bytes = std::span<const std::byte>;

// A name in a template: either an ordinal or a string.
struct NameOrOrdinal {
  bool isOrdinal = false;
  WORD ordinal = 0;
  std::u16string name;
};

// One string of an RT_STRING block (the block of `id` is id / 16 + 1; the string is
// entry id % 16). Nothing when the entry is missing or empty or the block is damaged.
std::optional<std::u16string> DecodeString(Bytes block, UINT id);

// RT_MENU: a menu bar and its drop-downs (MENU and MENUEX templates).
struct MenuItem {
  UINT flags = 0;  // MF_POPUP, MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_SEPARATOR, MF_HELP...; MF_END removed
  UINT id = 0;     // command identifier; 0 for separators and MENU drop-downs (a MENUEX drop-down may have one)
  std::u16string text;
  std::vector<MenuItem> items;  // the drop-down's own items when MF_POPUP is set
};
std::optional<std::vector<MenuItem>> DecodeMenu(Bytes data);

// RT_ACCELERATOR: the entries in their order; fVirt keeps FVIRTKEY, FNOINVERT, FSHIFT,
// FCONTROL and FALT (the end-of-table bit is removed).
std::optional<std::vector<ACCEL>> DecodeAccelerators(Bytes data);

// RT_DIALOG: DLGTEMPLATE and DLGTEMPLATEEX with their items.
struct DialogItem {
  DWORD helpId = 0;
  DWORD exStyle = 0;
  DWORD style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  DWORD id = 0;               // 16 bits in a plain template (-1 reads 0xFFFF), 32 in an extended one
  NameOrOrdinal windowClass;  // ordinals: 0x80 button, 0x81 edit, 0x82 static, 0x83 list box, 0x84 scroll bar, 0x85 combo box
  NameOrOrdinal text;         // an ordinal is a resource id, e.g. the icon of an SS_ICON static
  std::vector<std::byte> creationData;
};
struct DialogTemplate {
  bool extended = false;
  DWORD helpId = 0;
  DWORD exStyle = 0;
  DWORD style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  NameOrOrdinal menu;
  NameOrOrdinal windowClass;
  std::u16string title;
  // Present when style has DS_SETFONT (or DS_SHELLFONT).
  WORD pointSize = 0;
  WORD weight = 0;
  BYTE italic = 0;
  BYTE charset = 0;
  std::u16string faceName;
  std::vector<DialogItem> items;
};
std::optional<DialogTemplate> DecodeDialog(Bytes data);

// An image of an icon, as 32-bit 0xAARRGGBB pixels, top-down (the AND mask applied as
// alpha for images without an alpha channel).
struct IconImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};

// RT_GROUP_ICON: the directory of an icon's images, each of them an RT_ICON resource.
struct IconDirEntry {
  int width = 0;  // 1 to 256
  int height = 0;
  WORD bitCount = 0;
  DWORD bytesInRes = 0;
  WORD id = 0;  // the RT_ICON resource that holds the image
};
std::optional<std::vector<IconDirEntry>> DecodeIconGroup(Bytes data);

// RT_ICON: one image, a DIB whose header counts the colour rows and the AND mask's rows.
// Nothing for PNG-compressed images (which the platform skips) and for damaged data.
std::optional<IconImage> DecodeIconImage(Bytes data);

// The images of an HICON made by LoadIconA, largest first; null for an unknown handle.
const std::vector<IconImage>* IconImages(HICON icon);

}  // namespace win32::res
