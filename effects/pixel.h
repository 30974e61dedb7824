// Pixel effects (styles 168 to 172): a zoom into large blocks with a cross-fade at the deepest
// point, and random pixels, rows, columns or colour channels of the new picture.
#pragma once

#include "transition/effect.h"

namespace pavona::effects {

transition::TEffectProc Pixelate;
transition::TEffectProc Dissolve;
transition::TEffectProc RandomBarsHorizontal;
transition::TEffectProc RandomBarsVertical;
transition::TEffectProc ChannelMix;

}  // namespace pavona::effects
