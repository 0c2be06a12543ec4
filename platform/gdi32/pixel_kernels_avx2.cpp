// The pixel loops for AVX2. This file alone is built with -mavx2, and its code runs only once
// the CPU is known to have AVX2: the set is constant data (no code runs to make it), and the
// loops have internal linkage, so none of them can replace a baseline copy when linking.
#include "platform/gdi32/pixel_kernel_sets.h"
#include "platform/gdi32/pixel_loops.h"

#if !defined(__AVX2__)
#error "pixel_kernels_avx2.cpp must be built with -mavx2"
#endif

namespace win32::gdi {

constinit const PixelKernels kAvx2Kernels = PixelLoops<32>::Set("AVX2");

}  // namespace win32::gdi
