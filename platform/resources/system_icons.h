// Pictures of the system's own icons, drawn by the platform.
#pragma once

#include <vector>

#include "platform/resources/resource_formats.h"

namespace win32::res {

// IDI_APPLICATION: a small window with a title bar, at 32 by 32 and 16 by 16 pixels.
std::vector<IconImage> ApplicationIconImages();

}  // namespace win32::res
