// Shape shreds (styles 118, 143, 153, 164): one shape grows from the centre of every cell of a
// regular grid, and the new picture shows through their union.
#pragma once

#include "transition/effect.h"

namespace pavona::effects {

transition::TEffectProc TriangularShred;
transition::TEffectProc RectangularShred;
transition::TEffectProc CircularShred;
transition::TEffectProc DiamondShred;

}  // namespace pavona::effects
