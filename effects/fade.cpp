#include "effects/fade.h"

#include <cstddef>

#include "transition/mul_div.h"
#include "transition/pixel_kernels.h"

namespace pavona::effects {

// Every pixel of the frame is written, from the starting picture straight into Display.
void Fade(const transition::TEffectFrame& f) {
  const std::int32_t a = transition::MulDiv(256, f.Progress, 100);
  const std::size_t count = static_cast<std::size_t>(f.W) * static_cast<std::size_t>(f.H);
  transition::BlendPixels(f.Display.data(), f.Start.data(), f.Image.data(), count,
                          static_cast<std::uint32_t>(a));
}

}  // namespace pavona::effects
