// Sweeps and rotating shapes (styles 144, 145 and 150 to 152): the new picture shows through a
// polygon that turns. The sweeps open a pie slice from twelve o'clock like a clock hand; the
// rotating shapes grow a rectangle or a four-pointed star while turning it once round, about the
// centre or about a point that travels along the diagonal.
#pragma once

#include "transition/effect.h"

namespace pavona::effects {

transition::TEffectProc SweepClockwise;        // 144
transition::TEffectProc SweepAnticlockwise;    // 145
transition::TEffectProc RotationalRectangle;   // 150
transition::TEffectProc RotationalStar;        // 151
transition::TEffectProc SpiralRectangle;       // 152

}  // namespace pavona::effects
