// The pixel loops for what every CPU of the target has: SSE2 on x86-64.
#include "platform/gdi32/pixel_kernel_sets.h"
#include "platform/gdi32/pixel_loops.h"

namespace win32::gdi {

#if defined(__SSE2__)
constinit const PixelKernels kBaselineKernels = PixelLoops<16>::Set("SSE2");
#else
constinit const PixelKernels kBaselineKernels = PixelLoops<16>::Set("baseline");
#endif

}  // namespace win32::gdi
