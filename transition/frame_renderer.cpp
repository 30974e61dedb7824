#include "transition/frame_renderer.h"

#include <optional>

#include "raster/surface.h"
#include "transition/block_copy.h"
#include "transition/random.h"

namespace pavona::transition {

namespace {

const TEffect* EffectRow(TShowStyle Style, TEffectTable Effects) {
  if (Style == 0 || Style > Effects.size()) return nullptr;
  return &Effects[Style - 1];
}

}  // namespace

void RestartFrame(raster::Bitmap& Display, const raster::Bitmap& OldPic, const raster::Rect& PicRect) {
  CopyBlock(Display, 0, 0, PicRect.width(), PicRect.height(), OldPic, 0, 0);
}

bool NeedsRestart(TShowStyle Style, TPercent Progress, TEffectTable Effects) {
  if (Progress >= 100) return false;
  if (Progress == 0) return true;
  const TEffect* row = EffectRow(Style, Effects);
  return row == nullptr || !row->DrawsEveryPixel();
}

void DrawFrame(raster::Bitmap& Display, const raster::Bitmap& OldPic, const raster::Bitmap& Pic,
               const raster::Rect& PicRect, TShowStyle Style, TPercent Progress,
               TEffectTable Effects, std::uint32_t seed, const TFrameHooks& hooks) {
  if (hooks.BeforeDraw || NeedsRestart(Style, Progress, Effects)) {
    RestartFrame(Display, OldPic, PicRect);
  }
  if (hooks.BeforeDraw) hooks.BeforeDraw();
  if (Progress >= 100) {
    CopyBlock(Display, 0, 0, PicRect.width(), PicRect.height(), Pic, 0, 0);
    return;
  }
  if (Progress == 0) return;
  if (Style == 0) {
    if (hooks.CustomDraw) hooks.CustomDraw();
    return;
  }
  const TEffect* row = EffectRow(Style, Effects);
  if (row == nullptr) return;
  const std::int32_t W = PicRect.Right;
  const std::int32_t H = PicRect.Bottom;
  const TEffectPoint point = EffectPoint(W, H, Progress);
  // An effect that fails half-way must not leave its clip on the frame.
  raster::SavedDrawingState state(Display);
  std::optional<TRandomSeedScope> seedScope;
  if (row->Seeded()) seedScope.emplace(seed);
  // With a BeforeDraw hook the refilled Display is the start the effect works from.
  const raster::Bitmap& start = hooks.BeforeDraw ? Display : OldPic;
  row->Proc(TEffectFrame{Display, Pic, start, W, H, point.X, point.Y, Progress});
}

void ComposeFrame(raster::Bitmap& Display, const raster::Bitmap& OldPic, const raster::Bitmap& Pic,
                  TShowStyle Style, TPercent Progress, TEffectTable Effects, std::uint32_t seed) {
  DrawFrame(Display, OldPic, Pic, Pic.bounds(), Style, Progress, Effects, seed);
}

}  // namespace pavona::transition
