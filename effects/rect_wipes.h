// Wipes that bring the new picture in through one rectangle anchored at a side, the middle line
// or a corner (styles 1 to 11, 18 to 28 and 35 to 46). Each draws its frame with a single block
// copy or stretch of the new picture over the starting one (the expand-in styles, whose block
// covers the whole frame, copy the starting picture themselves while the block has no extent):
// - expand: the whole new picture squeezed into the growing rectangle;
// - expand in: the part next to the anchor magnified until it overfills the picture;
// - slide in: the new picture at natural size moving in from outside;
// - reveal: the new picture shown in place through the growing rectangle.
#pragma once

#include "transition/effect.h"

namespace pavona::effects {

// Horizontal: the full height, X columns.
transition::TEffectProc ExpandFromRight;          // 1
transition::TEffectProc ExpandFromLeft;           // 2
transition::TEffectProc SlideInFromRight;         // 3
transition::TEffectProc SlideInFromLeft;          // 4
transition::TEffectProc RevealFromLeft;           // 5
transition::TEffectProc RevealFromRight;          // 6
transition::TEffectProc ExpandInFromRight;        // 7, anchored at the left edge
transition::TEffectProc ExpandInFromLeft;         // 8
transition::TEffectProc ExpandInToMiddle;         // 9
transition::TEffectProc ExpandOutFromMiddle;      // 10
transition::TEffectProc RevealOutFromMiddle;      // 11

// Vertical: the full width, Y rows.
transition::TEffectProc ExpandFromBottom;                // 18
transition::TEffectProc ExpandFromTop;                   // 19
transition::TEffectProc SlideInFromBottom;               // 20
transition::TEffectProc SlideInFromTop;                  // 21
transition::TEffectProc RevealFromTop;                   // 22
transition::TEffectProc RevealFromBottom;                // 23
transition::TEffectProc ExpandInFromBottom;              // 24, anchored at the top edge
transition::TEffectProc ExpandInFromTop;                 // 25
transition::TEffectProc ExpandInToMiddleHorizontal;      // 26
transition::TEffectProc ExpandOutFromMiddleHorizontal;   // 27
transition::TEffectProc RevealFromMiddleHorizontal;      // 28

// Corners: X columns and Y rows together.
transition::TEffectProc ExpandFromBottomRight;    // 35
transition::TEffectProc ExpandFromTopRight;       // 36
transition::TEffectProc ExpandFromTopLeft;        // 37
transition::TEffectProc ExpandFromBottomLeft;     // 38
transition::TEffectProc SlideInFromBottomRight;   // 39
transition::TEffectProc SlideInFromTopRight;      // 40
transition::TEffectProc SlideInFromTopLeft;       // 41
transition::TEffectProc SlideInFromBottomLeft;    // 42
transition::TEffectProc RevealFromTopLeft;        // 43
transition::TEffectProc RevealFromBottomLeft;     // 44
transition::TEffectProc RevealFromBottomRight;    // 45
transition::TEffectProc RevealFromTopRight;       // 46

}  // namespace pavona::effects
