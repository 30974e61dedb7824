// V, bow tie and cross reveals (styles 154 to 161): the new picture shows through triangles whose
// bases sit on the middle of the picture's edges and whose apexes point inwards.
#pragma once

#include "transition/effect.h"

namespace pavona::effects {

transition::TEffectProc RevealVFromLeft;
transition::TEffectProc RevealVFromRight;
transition::TEffectProc RevealVFromTop;
transition::TEffectProc RevealVFromBottom;
transition::TEffectProc BowTieHorizontal;
transition::TEffectProc BowTieVertical;
transition::TEffectProc DiagonalCrossIn;
transition::TEffectProc DiagonalCrossOut;

}  // namespace pavona::effects
