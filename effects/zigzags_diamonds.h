// Zigzags, diamonds and box (styles 162, 163, 165, 166, 167): the new picture shows through one
// polygon centred on the picture, or through the area between two.
#pragma once

#include "transition/effect.h"

namespace pavona::effects {

transition::TEffectProc ZigzagHorizontal;
transition::TEffectProc ZigzagVertical;
transition::TEffectProc RevealDiamondOut;
transition::TEffectProc RevealDiamondIn;
transition::TEffectProc DiagonalBoxOut;

}  // namespace pavona::effects
