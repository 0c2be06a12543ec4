#include "platform/gdi32/raster_ops.h"

#include "platform/gdi32/pixel_kernels.h"

namespace win32::gdi::rop {

BlockFunction Block(unsigned index) { return Kernels().blocks[index & 0xFFu]; }

}  // namespace win32::gdi::rop
