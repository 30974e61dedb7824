// Reveals of the new picture in place through thin bars (styles 60 to 64, 71 to 75 and 86 to
// 99): horizontal bars that grow across from one side or both, vertical bars that grow down or
// up, and criss-cross lattices of both. In the two-phase styles the even bars grow first and the
// odd ones fill the gaps once the even ones are complete.
#pragma once

#include "transition/effect.h"

namespace pavona::effects {

transition::TEffectProc BarsInFromRight;        // 60
transition::TEffectProc BarsInFromLeft;         // 61
transition::TEffectProc BarsLeftThenRight;      // 62
transition::TEffectProc BarsRightThenLeft;      // 63
transition::TEffectProc BarsFromBothSides;      // 64
transition::TEffectProc BarsFromBottom;         // 71
transition::TEffectProc BarsFromTop;            // 72
transition::TEffectProc BarsTopThenBottom;      // 73
transition::TEffectProc BarsBottomThenTop;      // 74
transition::TEffectProc BarsFromTopAndBottom;   // 75
transition::TEffectProc CrissCrossFromBottomRight;          // 86
transition::TEffectProc CrissCrossFromTopRight;             // 87
transition::TEffectProc CrissCrossFromBottomLeft;           // 88
transition::TEffectProc CrissCrossFromTopLeft;              // 89
transition::TEffectProc CrissCrossBounceFromTopLeft;        // 90
transition::TEffectProc CrissCrossBounceFromBottomLeft;     // 91
transition::TEffectProc CrissCrossBounceFromTopRight;       // 92
transition::TEffectProc CrissCrossBounceFromBottomRight;    // 93
transition::TEffectProc CrissCrossFromRightTopAndBottom;    // 94
transition::TEffectProc CrissCrossFromLeftTopAndBottom;     // 95
transition::TEffectProc CrissCrossFromLeftRightAndBottom;   // 96
transition::TEffectProc CrissCrossFromLeftRightAndTop;      // 97
transition::TEffectProc CrissCrossFromAllSides;             // 98
transition::TEffectProc CrissCrossFromBottomLeftTopRight;   // 99

}  // namespace pavona::effects
