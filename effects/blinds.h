// Blinds and rectangles (styles 137 to 142, 146 to 149): the new picture shows through sets of
// parallel slats. The even blinds open fixed slats from their centre lines; the uneven ones tie
// the slat period to the progress; the rectangles cross an uneven blind with thin bands.
#pragma once

#include "transition/effect.h"

namespace pavona::effects {

transition::TEffectProc BlindVertically;
transition::TEffectProc BlindHorizontally;
transition::TEffectProc UnevenBlindFromLeft;
transition::TEffectProc UnevenBlindFromRight;
transition::TEffectProc UnevenBlindFromTop;
transition::TEffectProc UnevenBlindFromBottom;
transition::TEffectProc RectanglesFromLeft;
transition::TEffectProc RectanglesFromRight;
transition::TEffectProc RectanglesFromTop;
transition::TEffectProc RectanglesFromBottom;

}  // namespace pavona::effects
