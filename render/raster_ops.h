// The one raster operation that GDI has no name for.
#pragma once

#include "platform/win32.h"

// Destination AND NOT source: clears the destination wherever a monochrome source has a
// 1 bit (operation index 0x22).
constexpr DWORD ROP_DEST_AND_NOT_SOURCE = 0x00220326;
