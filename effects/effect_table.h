// The table of the 176 transition styles: row i - 1 holds the name and the procedure of style i.
// Hand it to the slide view control (TSlideView's constructor) and to the frame renderer.
#pragma once

#include <array>

#include "transition/effect.h"

namespace pavona::effects {

extern const std::array<transition::TEffect, transition::kMaxStyle> EffectTable;

}  // namespace pavona::effects
