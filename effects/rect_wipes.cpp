#include "effects/rect_wipes.h"

#include "transition/block_copy.h"

namespace pavona::effects {

using transition::CopyBlock;
using transition::StretchBlock;
using transition::TEffectFrame;

namespace {

// The block copies with the new picture as source, drawn into the frame.
void Copy(const TEffectFrame& f, int dx, int dy, int w, int h, int sx, int sy) {
  CopyBlock(f.Display, dx, dy, w, h, f.Image, sx, sy);
}

void Stretch(const TEffectFrame& f, int dx, int dy, int dw, int dh, int sx, int sy, int sw,
             int sh) {
  StretchBlock(f.Display, dx, dy, dw, dh, f.Image, sx, sy, sw, sh);
}

// The expand-in styles magnify their block until it overfills the picture, so once it has any
// width (height) it writes every pixel; before that the frame is the starting picture, written
// from Start. Their rows therefore skip the refill.
void KeepStart(const TEffectFrame& f) { CopyBlock(f.Display, 0, 0, f.W, f.H, f.Start, 0, 0); }

}  // namespace

void ExpandFromRight(const TEffectFrame& f) { Stretch(f, f.W - f.X, 0, f.X, f.H, 0, 0, f.W, f.H); }
void ExpandFromLeft(const TEffectFrame& f) { Stretch(f, 0, 0, f.X, f.H, 0, 0, f.W, f.H); }
void SlideInFromRight(const TEffectFrame& f) { Copy(f, f.W - f.X, 0, f.W, f.H, 0, 0); }
void SlideInFromLeft(const TEffectFrame& f) { Copy(f, f.X - f.W, 0, f.W, f.H, 0, 0); }
void RevealFromLeft(const TEffectFrame& f) { Copy(f, 0, 0, f.X, f.H, 0, 0); }
void RevealFromRight(const TEffectFrame& f) { Copy(f, f.W - f.X, 0, f.X, f.H, f.W - f.X, 0); }
void ExpandInFromRight(const TEffectFrame& f) {
  if (f.X == 0) {
    KeepStart(f);
  } else {
    Stretch(f, 0, 0, 2 * f.W - f.X, f.H, 0, 0, f.X, f.H);
  }
}
void ExpandInFromLeft(const TEffectFrame& f) {
  if (f.X == 0) {
    KeepStart(f);
  } else {
    Stretch(f, f.X - f.W, 0, 2 * f.W - f.X, f.H, f.W - f.X, 0, f.X, f.H);
  }
}
// The middle X columns, magnified about the picture's centre so that W − X columns overhang on
// either side.
void ExpandInToMiddle(const TEffectFrame& f) {
  if (f.X == 0) {
    KeepStart(f);
  } else {
    Stretch(f, f.X - f.W, 0, 3 * f.W - 2 * f.X, f.H, (f.W - f.X) / 2, 0, f.X, f.H);
  }
}
void ExpandOutFromMiddle(const TEffectFrame& f) {
  Stretch(f, (f.W - f.X) / 2, 0, f.X, f.H, 0, 0, f.W, f.H);
}
void RevealOutFromMiddle(const TEffectFrame& f) {
  Copy(f, (f.W - f.X) / 2, 0, f.X, f.H, (f.W - f.X) / 2, 0);
}

void ExpandFromBottom(const TEffectFrame& f) { Stretch(f, 0, f.H - f.Y, f.W, f.Y, 0, 0, f.W, f.H); }
void ExpandFromTop(const TEffectFrame& f) { Stretch(f, 0, 0, f.W, f.Y, 0, 0, f.W, f.H); }
void SlideInFromBottom(const TEffectFrame& f) { Copy(f, 0, f.H - f.Y, f.W, f.H, 0, 0); }
void SlideInFromTop(const TEffectFrame& f) { Copy(f, 0, f.Y - f.H, f.W, f.H, 0, 0); }
void RevealFromTop(const TEffectFrame& f) { Copy(f, 0, 0, f.W, f.Y, 0, 0); }
void RevealFromBottom(const TEffectFrame& f) { Copy(f, 0, f.H - f.Y, f.W, f.Y, 0, f.H - f.Y); }
void ExpandInFromBottom(const TEffectFrame& f) {
  if (f.Y == 0) {
    KeepStart(f);
  } else {
    Stretch(f, 0, 0, f.W, 2 * f.H - f.Y, 0, 0, f.W, f.Y);
  }
}
void ExpandInFromTop(const TEffectFrame& f) {
  if (f.Y == 0) {
    KeepStart(f);
  } else {
    Stretch(f, 0, f.Y - f.H, f.W, 2 * f.H - f.Y, 0, f.H - f.Y, f.W, f.Y);
  }
}
void ExpandInToMiddleHorizontal(const TEffectFrame& f) {
  if (f.Y == 0) {
    KeepStart(f);
  } else {
    Stretch(f, 0, f.Y - f.H, f.W, 3 * f.H - 2 * f.Y, 0, (f.H - f.Y) / 2, f.W, f.Y);
  }
}
void ExpandOutFromMiddleHorizontal(const TEffectFrame& f) {
  Stretch(f, 0, (f.H - f.Y) / 2, f.W, f.Y, 0, 0, f.W, f.H);
}
void RevealFromMiddleHorizontal(const TEffectFrame& f) {
  Copy(f, 0, (f.H - f.Y) / 2, f.W, f.Y, 0, (f.H - f.Y) / 2);
}

void ExpandFromBottomRight(const TEffectFrame& f) {
  Stretch(f, f.W - f.X, f.H - f.Y, f.X, f.Y, 0, 0, f.W, f.H);
}
void ExpandFromTopRight(const TEffectFrame& f) {
  Stretch(f, f.W - f.X, 0, f.X, f.Y, 0, 0, f.W, f.H);
}
void ExpandFromTopLeft(const TEffectFrame& f) { Stretch(f, 0, 0, f.X, f.Y, 0, 0, f.W, f.H); }
void ExpandFromBottomLeft(const TEffectFrame& f) {
  Stretch(f, 0, f.H - f.Y, f.X, f.Y, 0, 0, f.W, f.H);
}
void SlideInFromBottomRight(const TEffectFrame& f) {
  Copy(f, f.W - f.X, f.H - f.Y, f.W, f.H, 0, 0);
}
void SlideInFromTopRight(const TEffectFrame& f) { Copy(f, f.W - f.X, f.Y - f.H, f.W, f.H, 0, 0); }
void SlideInFromTopLeft(const TEffectFrame& f) { Copy(f, f.X - f.W, f.Y - f.H, f.W, f.H, 0, 0); }
void SlideInFromBottomLeft(const TEffectFrame& f) { Copy(f, f.X - f.W, f.H - f.Y, f.W, f.H, 0, 0); }
void RevealFromTopLeft(const TEffectFrame& f) { Copy(f, 0, 0, f.X, f.Y, 0, 0); }
void RevealFromBottomLeft(const TEffectFrame& f) { Copy(f, 0, f.H - f.Y, f.X, f.Y, 0, f.H - f.Y); }
void RevealFromBottomRight(const TEffectFrame& f) {
  Copy(f, f.W - f.X, f.H - f.Y, f.X, f.Y, f.W - f.X, f.H - f.Y);
}
void RevealFromTopRight(const TEffectFrame& f) { Copy(f, f.W - f.X, 0, f.X, f.Y, f.W - f.X, 0); }

}  // namespace pavona::effects
