#include "effects/centre_wipes.h"

#include "raster/surface.h"
#include "transition/block_copy.h"

namespace pavona::effects {

using transition::CopyBlock;
using transition::StretchBlock;
using transition::TEffectFrame;

void AppearAndContractToTopLeft(const TEffectFrame& f) {
  StretchBlock(f.Display, 0, 0, 2 * f.W - f.X, 2 * f.H - f.Y, f.Image, 0, 0, f.X, f.Y);
}

void AppearAndContractToBottomLeft(const TEffectFrame& f) {
  StretchBlock(f.Display, 0, f.Y - f.H, 2 * f.W - f.X, 2 * f.H - f.Y, f.Image, 0, f.H - f.Y, f.X,
               f.Y);
}

void AppearAndContractToBottomRight(const TEffectFrame& f) {
  StretchBlock(f.Display, f.X - f.W, f.Y - f.H, 2 * f.W - f.X, 2 * f.H - f.Y, f.Image, f.W - f.X,
               f.H - f.Y, f.X, f.Y);
}

void AppearAndContractToTopRight(const TEffectFrame& f) {
  StretchBlock(f.Display, f.X - f.W, 0, 2 * f.W - f.X, 2 * f.H - f.Y, f.Image, f.W - f.X, 0, f.X,
               f.Y);
}

void AppearAndContractToMiddle(const TEffectFrame& f) {
  StretchBlock(f.Display, f.X - f.W, f.Y - f.H, 3 * f.W - 2 * f.X, 3 * f.H - 2 * f.Y, f.Image,
               (f.W - f.X) / 2, (f.H - f.Y) / 2, f.X, f.Y);
}

void ExpandOutFromCentre(const TEffectFrame& f) {
  StretchBlock(f.Display, (f.W - f.X) / 2, (f.H - f.Y) / 2, f.X, f.Y, f.Image, 0, 0, f.W, f.H);
}

void RevealOutFromCentre(const TEffectFrame& f) {
  CopyBlock(f.Display, (f.W - f.X) / 2, (f.H - f.Y) / 2, f.X, f.Y, f.Image, (f.W - f.X) / 2,
            (f.H - f.Y) / 2);
}

// The new picture everywhere but the shrinking centre rectangle, which keeps the start.
void RevealInToCentre(const TEffectFrame& f) {
  raster::Surface surface(f.Display);
  surface.exclude_clip_rect({f.X / 2, f.Y / 2, f.W - f.X / 2, f.H - f.Y / 2});
  struct ClipRemover {
    raster::Surface& surface;
    ~ClipRemover() { surface.remove_clip(); }
  } remover{surface};
  CopyBlock(f.Display, 0, 0, f.W, f.H, f.Image, 0, 0);
}

void QuartersRevealInToMiddle(const TEffectFrame& f) {
  const int w = f.X / 2, h = f.Y / 2;
  CopyBlock(f.Display, 0, 0, w, h, f.Image, 0, 0);
  CopyBlock(f.Display, 0, f.H - h, w, h, f.Image, 0, f.H - h);
  CopyBlock(f.Display, f.W - w, f.H - h, w, h, f.Image, f.W - w, f.H - h);
  CopyBlock(f.Display, f.W - w, 0, w, h, f.Image, f.W - w, 0);
}

// With an odd width (height) the last column (row) of the new picture is in no quarter.
void QuartersExpandToMiddle(const TEffectFrame& f) {
  const int w = f.X / 2, h = f.Y / 2;
  const int qw = f.W / 2, qh = f.H / 2;
  StretchBlock(f.Display, 0, 0, w, h, f.Image, 0, 0, qw, qh);
  StretchBlock(f.Display, 0, f.H - h, w, h, f.Image, 0, qh, qw, qh);
  StretchBlock(f.Display, f.W - w, f.H - h, w, h, f.Image, qw, qh, qw, qh);
  StretchBlock(f.Display, f.W - w, 0, w, h, f.Image, qw, 0, qw, qh);
}

// A pinwheel: top left from the left, top right from the top, bottom right from the right and
// bottom left from the bottom.
void QuartersSlideInToMiddle(const TEffectFrame& f) {
  const int qw = f.W / 2, qh = f.H / 2;
  CopyBlock(f.Display, f.X / 2 - qw, 0, qw, qh, f.Image, 0, 0);
  CopyBlock(f.Display, qw, f.Y / 2 - qh, qw, qh, f.Image, qw, 0);
  CopyBlock(f.Display, f.W - f.X / 2, qh, qw, qh, f.Image, qw, qh);
  CopyBlock(f.Display, 0, f.H - f.Y / 2, qw, qh, f.Image, 0, qh);
}

}  // namespace pavona::effects
