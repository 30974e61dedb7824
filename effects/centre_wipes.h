// Appear-and-contract, centre and quarter wipes (styles 47 to 57): both axes move at once. A
// magnified corner (or middle) of the new picture contracts until it fits, the new picture grows
// out of the centre or closes in on it, or its four quarters come in from the corners.
#pragma once

#include "transition/effect.h"

namespace pavona::effects {

transition::TEffectProc AppearAndContractToTopLeft;      // 47
transition::TEffectProc AppearAndContractToBottomLeft;   // 48
transition::TEffectProc AppearAndContractToBottomRight;  // 49
transition::TEffectProc AppearAndContractToTopRight;     // 50
transition::TEffectProc AppearAndContractToMiddle;       // 51
transition::TEffectProc ExpandOutFromCentre;             // 52
transition::TEffectProc RevealOutFromCentre;             // 53
transition::TEffectProc RevealInToCentre;                // 54
transition::TEffectProc QuartersRevealInToMiddle;        // 55
transition::TEffectProc QuartersExpandToMiddle;          // 56
transition::TEffectProc QuartersSlideInToMiddle;         // 57

}  // namespace pavona::effects
