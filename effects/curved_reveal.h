// Curved and elliptic reveals (styles 58, 59, 69, 70 and 80 to 85): the new picture shows through
// a rounded rectangle whose curved end sweeps in from a side or a corner, or through an ellipse
// that grows out of the centre or closes in on it.
#pragma once

#include "transition/effect.h"

namespace pavona::effects {

transition::TEffectProc CurvedRevealFromLeft;
transition::TEffectProc CurvedRevealFromRight;
transition::TEffectProc CurvedRevealFromTop;
transition::TEffectProc CurvedRevealFromBottom;
transition::TEffectProc CurvedRevealFromTopLeft;
transition::TEffectProc CurvedRevealFromTopRight;
transition::TEffectProc CurvedRevealFromBottomLeft;
transition::TEffectProc CurvedRevealFromBottomRight;
transition::TEffectProc EllipticRevealOutFromCentre;
transition::TEffectProc EllipticRevealInToCentre;

}  // namespace pavona::effects
