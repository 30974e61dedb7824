// Speckles and random squares (styles 124 to 128): a solid edge wipes across the picture with
// random small squares scattered ahead of it, drawn afresh every frame; or a grid of squares each
// of which appears once its random number falls below the progress.
#pragma once

#include "transition/effect.h"

namespace pavona::effects {

transition::TEffectProc SpeckleAppearFromRight;
transition::TEffectProc SpeckleAppearFromLeft;
transition::TEffectProc SpeckleAppearFromBottom;
transition::TEffectProc SpeckleAppearFromTop;
transition::TEffectProc RandomSquaresAppear;

}  // namespace pavona::effects
