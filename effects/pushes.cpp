#include "effects/pushes.h"

#include "transition/block_copy.h"

namespace pavona::effects {

using transition::CopyBlock;
using transition::StretchBlock;
using transition::TEffectFrame;

// The two blocks of every style tile the whole frame (0 <= X <= W, 0 <= Y <= H), so the old
// picture is read from Start rather than from a refilled Display: the move never reads what it
// has already written.

void PushRight(const TEffectFrame& f) {
  CopyBlock(f.Display, f.X, 0, f.W - f.X, f.H, f.Start, 0, 0);
  CopyBlock(f.Display, 0, 0, f.X, f.H, f.Image, f.W - f.X, 0);
}

void PushLeft(const TEffectFrame& f) {
  CopyBlock(f.Display, 0, 0, f.W - f.X, f.H, f.Start, f.X, 0);
  CopyBlock(f.Display, f.W - f.X, 0, f.X, f.H, f.Image, 0, 0);
}

void PushAndSqueezeRight(const TEffectFrame& f) {
  StretchBlock(f.Display, f.X, 0, f.W - f.X, f.H, f.Start, 0, 0, f.W, f.H);
  CopyBlock(f.Display, 0, 0, f.X, f.H, f.Image, f.W - f.X, 0);
}

void PushAndSqueezeLeft(const TEffectFrame& f) {
  StretchBlock(f.Display, 0, 0, f.W - f.X, f.H, f.Start, 0, 0, f.W, f.H);
  CopyBlock(f.Display, f.W - f.X, 0, f.X, f.H, f.Image, 0, 0);
}

void PushDown(const TEffectFrame& f) {
  CopyBlock(f.Display, 0, f.Y, f.W, f.H - f.Y, f.Start, 0, 0);
  CopyBlock(f.Display, 0, 0, f.W, f.Y, f.Image, 0, f.H - f.Y);
}

void PushUp(const TEffectFrame& f) {
  CopyBlock(f.Display, 0, 0, f.W, f.H - f.Y, f.Start, 0, f.Y);
  CopyBlock(f.Display, 0, f.H - f.Y, f.W, f.Y, f.Image, 0, 0);
}

void PushAndSqueezeDown(const TEffectFrame& f) {
  StretchBlock(f.Display, 0, f.Y, f.W, f.H - f.Y, f.Start, 0, 0, f.W, f.H);
  CopyBlock(f.Display, 0, 0, f.W, f.Y, f.Image, 0, f.H - f.Y);
}

void PushAndSqueezeUp(const TEffectFrame& f) {
  StretchBlock(f.Display, 0, 0, f.W, f.H - f.Y, f.Start, 0, 0, f.W, f.H);
  CopyBlock(f.Display, 0, f.H - f.Y, f.W, f.Y, f.Image, 0, 0);
}

void SlideOutFromRight(const TEffectFrame& f) {
  CopyBlock(f.Display, f.X, 0, f.W - f.X, f.H, f.Start, 0, 0);
  CopyBlock(f.Display, 0, 0, f.X, f.H, f.Image, 0, 0);
}

void SlideOutFromLeft(const TEffectFrame& f) {
  CopyBlock(f.Display, 0, 0, f.W - f.X, f.H, f.Start, f.X, 0);
  CopyBlock(f.Display, f.W - f.X, 0, f.X, f.H, f.Image, f.W - f.X, 0);
}

void SlideOutFromBottom(const TEffectFrame& f) {
  CopyBlock(f.Display, 0, f.Y, f.W, f.H - f.Y, f.Start, 0, 0);
  CopyBlock(f.Display, 0, 0, f.W, f.Y, f.Image, 0, 0);
}

void SlideOutFromTop(const TEffectFrame& f) {
  CopyBlock(f.Display, 0, 0, f.W, f.H - f.Y, f.Start, 0, f.Y);
  CopyBlock(f.Display, 0, f.H - f.Y, f.W, f.Y, f.Image, 0, f.H - f.Y);
}

}  // namespace pavona::effects
