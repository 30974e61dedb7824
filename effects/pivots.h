// Pivots (styles 120 to 123): the new picture, turned by up to a quarter turn about a corner,
// swings back into place; the starting picture shows wherever it does not cover the frame.
#pragma once

#include "transition/effect.h"

namespace pavona::effects {

transition::TEffectProc PivotFromTopLeft;
transition::TEffectProc PivotFromBottomLeft;
transition::TEffectProc PivotFromTopRight;
transition::TEffectProc PivotFromBottomRight;

}  // namespace pavona::effects
