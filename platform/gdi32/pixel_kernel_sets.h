// The kernel sets themselves, each defined in a translation unit of its own (the AVX2 one
// built with -mavx2), for the choice in pixel_kernels.cpp.
#pragma once

#include "platform/gdi32/pixel_kernels.h"

namespace win32::gdi {

extern const PixelKernels kBaselineKernels;
extern const PixelKernels kAvx2Kernels;  // built on x86-64 only

}  // namespace win32::gdi
