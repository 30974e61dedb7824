#include "slideview/frame_renderer.h"

#include "raster/surface.h"
#include "slideview/block_copy.h"
#include "slideview/random.h"

namespace pavona::slideview {

void RestartFrame(raster::Bitmap& Display, const raster::Bitmap& OldPic, const raster::Rect& PicRect) {
  CopyBlock(Display, 0, 0, PicRect.width(), PicRect.height(), OldPic, 0, 0);
}

void DrawFrame(raster::Bitmap& Display, const raster::Bitmap& Pic, const raster::Rect& PicRect,
               TShowStyle Style, TPercent Progress, TEffectTable Effects, std::uint32_t seed,
               const std::function<void()>& customDraw) {
  if (Progress >= 100) {
    CopyBlock(Display, 0, 0, PicRect.width(), PicRect.height(), Pic, 0, 0);
    return;
  }
  if (Progress == 0) return;
  if (Style == 0) {
    if (customDraw) customDraw();
    return;
  }
  if (Style > Effects.size() || Effects[Style - 1].Proc == nullptr) return;
  const std::int32_t W = PicRect.Right;
  const std::int32_t H = PicRect.Bottom;
  const TEffectPoint point = EffectPoint(W, H, Progress);
  // An effect that fails half-way must not leave its clip on the frame.
  raster::SavedDrawingState state(Display);
  EffectSeed = seed;
  Effects[Style - 1].Proc(Display, Pic, W, H, point.X, point.Y, Progress);
}

void ComposeFrame(raster::Bitmap& Display, const raster::Bitmap& OldPic, const raster::Bitmap& Pic,
                  TShowStyle Style, TPercent Progress, TEffectTable Effects, std::uint32_t seed) {
  const raster::Rect picRect = Pic.bounds();
  RestartFrame(Display, OldPic, picRect);
  DrawFrame(Display, Pic, picRect, Style, Progress, Effects, seed);
}

}  // namespace pavona::slideview
