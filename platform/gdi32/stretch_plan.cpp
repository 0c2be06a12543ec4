#include "platform/gdi32/stretch_plan.h"

#include <array>
#include <memory>

#include "platform/common/immortal.h"

namespace win32::gdi {

StretchPlan::StretchPlan(const StretchGeometry& g, const PixelKernels& k)
    : geometry(g),
      kernels(k),
      columns(MapAxis(g.xDest, g.wDest, g.xSrc, g.wSrc, g.destWidth, g.srcWidth, g.stretchMode)),
      rows(MapAxis(g.yDest, g.hDest, g.ySrc, g.hSrc, g.destHeight, g.srcHeight, g.stretchMode)),
      scaler(columns, kernels) {}

const StretchPlan& PlanFor(const StretchGeometry& geometry) {
  // A few geometries: a frame presented at one size, and perhaps a second stretch a frame.
  struct Plans {
    std::array<std::unique_ptr<StretchPlan>, 4> kept;
    std::size_t next = 0;
  };
  static Immortal<Plans> plans;
  const PixelKernels& kernels = Kernels();
  for (const auto& plan : plans->kept)
    if (plan && plan->geometry == geometry && &plan->kernels == &kernels) return *plan;
  auto& slot = plans->kept[plans->next];
  plans->next = (plans->next + 1) % plans->kept.size();
  slot = std::make_unique<StretchPlan>(geometry, kernels);
  return *slot;
}

}  // namespace win32::gdi
