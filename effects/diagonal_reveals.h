// Diagonal reveals, sweeps and starbursts (styles 110 to 117): the new picture shows through
// triangles. A reveal grows one right triangle out of a corner; a diagonal sweep turns two wedges
// hinged at opposite corners until they meet on the diagonal; a starburst turns four wedges out of
// the centre, one along each edge.
#pragma once

#include "transition/effect.h"

namespace pavona::effects {

transition::TEffectProc RevealDiagonalFromTopLeft;      // 110
transition::TEffectProc RevealDiagonalFromTopRight;     // 111
transition::TEffectProc RevealDiagonalFromBottomLeft;   // 112
transition::TEffectProc RevealDiagonalFromBottomRight;  // 113
transition::TEffectProc DiagonalSweepAnticlockwise;     // 114
transition::TEffectProc DiagonalSweepClockwise;         // 115
transition::TEffectProc StarburstClockwise;             // 116
transition::TEffectProc StarburstAnticlockwise;         // 117

}  // namespace pavona::effects
