// The frame routine of a transition, without the control around it: the driver composes every
// frame with it, and the command-line renderer uses it to draw the same frames.
#pragma once

#include <cstdint>
#include <functional>

#include "raster/bitmap.h"
#include "raster/geometry.h"
#include "slideview/effect.h"
#include "slideview/progress_step.h"

namespace pavona::slideview {

// Refills Display from the starting picture (the frame at progress 0). PicRect is (0, 0, w, h).
void RestartFrame(raster::Bitmap& Display, const raster::Bitmap& OldPic, const raster::Rect& PicRect);

// Draws the frame for Progress over the starting picture that Display holds: at 100 the new
// picture exactly, at 0 nothing, in between the effect of Style (style 0 calls customDraw). A
// style whose row has no procedure leaves the starting picture. seed identifies the transition
// (EffectSeed for the seeded random effects).
void DrawFrame(raster::Bitmap& Display, const raster::Bitmap& Pic, const raster::Rect& PicRect,
               TShowStyle Style, TPercent Progress, TEffectTable Effects, std::uint32_t seed,
               const std::function<void()>& customDraw = {});

// Both steps: the whole frame for Progress.
void ComposeFrame(raster::Bitmap& Display, const raster::Bitmap& OldPic, const raster::Bitmap& Pic,
                  TShowStyle Style, TPercent Progress, TEffectTable Effects, std::uint32_t seed);

}  // namespace pavona::slideview
