// The fade (style 119): every pixel moves from its old colour toward its new one by the same
// fraction of the way.
#pragma once

#include "transition/effect.h"

namespace pavona::effects {

transition::TEffectProc Fade;

}  // namespace pavona::effects
