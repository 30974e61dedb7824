// Styles that move the starting picture out of the frame while the new one takes its place
// (129 to 136, 173 to 176): pushes move both pictures together, push-and-squeeze styles squeeze
// the old picture into what is left, slide-outs uncover the new picture standing still. Each
// draws the old picture's part, then the new picture's.
#pragma once

#include "transition/effect.h"

namespace pavona::effects {

transition::TEffectProc PushRight;              // 129
transition::TEffectProc PushLeft;               // 130
transition::TEffectProc PushAndSqueezeRight;    // 131
transition::TEffectProc PushAndSqueezeLeft;     // 132
transition::TEffectProc PushDown;               // 133
transition::TEffectProc PushUp;                 // 134
transition::TEffectProc PushAndSqueezeDown;     // 135
transition::TEffectProc PushAndSqueezeUp;       // 136
transition::TEffectProc SlideOutFromRight;      // 173
transition::TEffectProc SlideOutFromLeft;       // 174
transition::TEffectProc SlideOutFromBottom;     // 175
transition::TEffectProc SlideOutFromTop;        // 176

}  // namespace pavona::effects
