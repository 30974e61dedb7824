// Reveals of the new picture in place through many thin strips of random, uneven length
// (styles 65 to 68, 76 to 79 and 100 to 109): horizontal strips from a side, both sides or out
// of the vertical middle line, vertical strips likewise with the horizon, and unions of the two.
// The lengths are drawn afresh every frame from the program's running random sequence, which
// these styles advance and never reset, so the ragged front shimmers as it moves.
#pragma once

#include "transition/effect.h"

namespace pavona::effects {

transition::TEffectProc UnevenShredFromRight;               // 65
transition::TEffectProc UnevenShredFromLeft;                // 66
transition::TEffectProc UnevenShredOutFromMiddle;           // 67
transition::TEffectProc UnevenShredInToMiddle;              // 68
transition::TEffectProc UnevenShredFromBottom;              // 76
transition::TEffectProc UnevenShredFromTop;                 // 77
transition::TEffectProc UnevenShredFromHorizon;             // 78
transition::TEffectProc UnevenShredInToHorizon;             // 79
transition::TEffectProc UnevenShredFromBottomAndRight;      // 100
transition::TEffectProc UnevenShredFromTopAndRight;         // 101
transition::TEffectProc UnevenShredFromBottomAndLeft;       // 102
transition::TEffectProc UnevenShredFromTopAndLeft;          // 103
transition::TEffectProc UnevenShredFromHorizonAndRight;     // 104
transition::TEffectProc UnevenShredFromHorizonAndLeft;      // 105
transition::TEffectProc UnevenShredFromBottomAndVertMiddle; // 106
transition::TEffectProc UnevenShredFromTopAndVertMiddle;    // 107
transition::TEffectProc UnevenShredFromCentre;              // 108
transition::TEffectProc UnevenShredToCentre;                // 109

}  // namespace pavona::effects
