// Split, unroll and build-up wipes (styles 12 to 17 and 29 to 34): two or three block copies a
// frame. The split wipes bring the new picture in as two halves from opposite sides, the unroll
// wipes show a shaded, mirrored band at the unrolling edge, and the build-ups fill what is not
// reached yet with a stretched strip of the new picture.
#pragma once

#include "transition/effect.h"

namespace pavona::effects {

transition::TEffectProc RevealInFromSides;         // 12
transition::TEffectProc ExpandInFromSides;         // 13
transition::TEffectProc UnrollFromLeft;            // 14
transition::TEffectProc UnrollFromRight;           // 15
transition::TEffectProc BuildUpFromRight;          // 16
transition::TEffectProc BuildUpFromLeft;           // 17
transition::TEffectProc SlideInFromTopAndBottom;   // 29
transition::TEffectProc ExpandInFromTopAndBottom;  // 30
transition::TEffectProc UnrollFromTop;             // 31
transition::TEffectProc UnrollFromBottom;          // 32
transition::TEffectProc BuildUpFromBottom;         // 33, named "Expand from bottom"
transition::TEffectProc BuildUpFromTop;            // 34, named "Expand in from top"

}  // namespace pavona::effects
