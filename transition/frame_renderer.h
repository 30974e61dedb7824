// The frame routine of a transition, without the control around it: the driver composes every
// frame with it, and the command-line renderer uses it to draw the same frames.
#pragma once

#include <cstdint>
#include <functional>

#include "raster/bitmap.h"
#include "raster/geometry.h"
#include "transition/effect.h"
#include "transition/progress_step.h"

namespace pavona::transition {

// Refills Display from the starting picture (the frame at progress 0). PicRect is (0, 0, w, h).
void RestartFrame(raster::Bitmap& Display, const raster::Bitmap& OldPic, const raster::Rect& PicRect);

// Whether the frame for Style at Progress starts from a refilled Display: every frame but the
// last, unless the style's effect draws every pixel itself.
bool NeedsRestart(TShowStyle Style, TPercent Progress, TEffectTable Effects);

struct TFrameHooks {
  // Runs on the refilled frame before anything is drawn; while assigned, every frame is refilled
  // and the effect reads the starting picture from Display, so what it draws counts.
  std::function<void()> BeforeDraw;
  // Draws the frame of style 0.
  std::function<void()> CustomDraw;
};

// Composes the frame for Progress into Display: at 100 the new picture exactly, at 0 the
// starting picture, in between the effect of Style (style 0 calls CustomDraw; a style beyond the
// table shows the starting picture). seed identifies the transition; the seeded rows draw their
// random numbers from it.
void DrawFrame(raster::Bitmap& Display, const raster::Bitmap& OldPic, const raster::Bitmap& Pic,
               const raster::Rect& PicRect, TShowStyle Style, TPercent Progress,
               TEffectTable Effects, std::uint32_t seed, const TFrameHooks& hooks = {});

// The whole frame for Progress, the new picture's bounds as PicRect.
void ComposeFrame(raster::Bitmap& Display, const raster::Bitmap& OldPic, const raster::Bitmap& Pic,
                  TShowStyle Style, TPercent Progress, TEffectTable Effects, std::uint32_t seed);

}  // namespace pavona::transition
