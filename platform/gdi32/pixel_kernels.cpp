#include "platform/gdi32/pixel_kernels.h"

#include <atomic>

#include "platform/gdi32/pixel_kernel_sets.h"

namespace win32::gdi {
namespace {

std::atomic<const PixelKernels*> forced{nullptr};

}  // namespace

const PixelKernels& BaselineKernels() { return kBaselineKernels; }

const PixelKernels* Avx2Kernels() {
#if defined(PORONGO_AVX2_KERNELS)
  // The program's static constructors may draw before libgcc has looked at the CPU.
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx2")) return &kAvx2Kernels;
#endif
  return nullptr;
}

const PixelKernels& Kernels() {
  static const PixelKernels& chosen = Avx2Kernels() ? *Avx2Kernels() : BaselineKernels();
  const PixelKernels* f = forced.load(std::memory_order_relaxed);
  return f ? *f : chosen;
}

void UseKernels(const PixelKernels* kernels) { forced.store(kernels, std::memory_order_relaxed); }

}  // namespace win32::gdi
