#include "effects/split_wipes.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "raster/bitmap.h"
#include "transition/block_copy.h"

namespace pavona::effects {

namespace {

using transition::CopyBlock;
using transition::StretchBlock;
using transition::TEffectFrame;

// How dark the edge of an unrolling band starts.
constexpr int kShadeDepth = 64;

// Adds offset to the blue, green and red bytes, each clamped to 0 to 255; the fourth byte stays.
raster::Pixel Shaded(raster::Pixel pixel, int offset) {
  raster::Pixel out = pixel & 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    const int channel = static_cast<int>((pixel >> shift) & 0xFFu) + offset;
    out |= static_cast<raster::Pixel>(std::clamp(channel, 0, 255)) << shift;
  }
  return out;
}

// Shades the Count columns from Start over the full height, each with its own offset: darkest at
// the band's edges, lightest in its middle.
void ShadeColumns(raster::Bitmap& Bitmap, int Depth, int Start, int Count) {
  if (Count < 2 || Depth == 0) return;
  const int Half = Count / 2;
  std::vector<int> offsets(static_cast<std::size_t>(Count));
  if (Depth > Half) {
    const int Step = Depth / Half;
    for (int k = 0; k < Count; ++k) offsets[k] = -Depth + Step * std::min(k, 2 * Half - k);
  } else {
    const int Every = Half / Depth;
    int v = -Depth;
    for (int i = 1; i <= Count; ++i) {
      offsets[i - 1] = v;
      if (i % Every == 0) v += i < Half ? 1 : -1;
    }
  }
  for (int y = 0; y < Bitmap.height(); ++y) {
    raster::Pixel* row = Bitmap.scanline(y) + Start;
    for (int k = 0; k < Count; ++k) row[k] = Shaded(row[k], offsets[k]);
  }
}

// Shades the Count rows from Start over the full width, walking the band from its bottom row up.
// When Depth > Half the profile peaks one step lower than the column profile, in the Half-th row
// from the bottom.
void ShadeRows(raster::Bitmap& Bitmap, int Depth, int Start, int Count) {
  if (Count < 2 || Depth == 0) return;
  const int Half = Count / 2;
  const int Every = Depth > Half ? 1 : Half / Depth;
  const int Step = Depth > Half ? Depth / Half : 1;
  int v = -Depth;
  for (int i = 1; i <= Count; ++i) {
    for (raster::Pixel& pixel : Bitmap.row(Start + Count - i)) pixel = Shaded(pixel, v);
    if (i % Every == 0) v += i < Half ? Step : -Step;
  }
}

// The width (height) of an unrolling band at distance Travelled from the edge of an Extent-wide
// picture: it grows out of the edge and narrows near the end so it never passes the far edge.
int BandSize(int Extent, int Travelled) {
  const int R = Extent / 10;
  if (Travelled < R) return Travelled;
  if (Extent - Travelled < 2 * R) return (Extent - Travelled) / 2;
  return R;
}

}  // namespace

void RevealInFromSides(const TEffectFrame& f) {
  const int half = f.X / 2;
  CopyBlock(f.Display, 0, 0, half, f.H, f.Image, 0, 0);
  CopyBlock(f.Display, f.W - half, 0, half, f.H, f.Image, f.W - half, 0);
}

// With an odd width the last column of the new picture is in neither half. The row draws every
// pixel: the columns between the halves are copied from the start here, which spares refilling
// the whole frame before the two slow stretches.
void ExpandInFromSides(const TEffectFrame& f) {
  const int half = f.X / 2;
  CopyBlock(f.Display, half, 0, f.W - 2 * half, f.H, f.Start, half, 0);
  StretchBlock(f.Display, 0, 0, half, f.H, f.Image, 0, 0, f.W / 2, f.H);
  StretchBlock(f.Display, f.W - half, 0, half, f.H, f.Image, f.W / 2, 0, f.W / 2, f.H);
}

void UnrollFromLeft(const TEffectFrame& f) {
  const int R = BandSize(f.W, f.X);
  StretchBlock(f.Display, f.X + R - 1, 0, -R, f.H, f.Image, f.X + R, 0, R, f.H);
  CopyBlock(f.Display, 0, 0, f.X, f.H, f.Image, 0, 0);
  ShadeColumns(f.Display, kShadeDepth, f.X, R);
}

// The band's source starts one column left of the mirror image of the left unroll; when the
// narrowed band begins at column -1, that column of the band keeps the starting picture.
void UnrollFromRight(const TEffectFrame& f) {
  const int R = BandSize(f.W, f.X);
  StretchBlock(f.Display, f.W - f.X - 1, 0, -R, f.H, f.Image, f.W - f.X - 2 * R - 1, 0, R, f.H);
  CopyBlock(f.Display, f.W - f.X, 0, f.X, f.H, f.Image, f.W - f.X, 0);
  ShadeColumns(f.Display, kShadeDepth, f.W - f.X - R, R);
}

// The two blocks cover the frame, so the row draws every pixel; only a picture narrower than 10
// columns has an empty strip, and there the rest keeps the start.
void BuildUpFromRight(const TEffectFrame& f) {
  CopyBlock(f.Display, 0, 0, f.X, f.H, f.Image, 0, 0);
  if (f.W / 10 == 0) {
    CopyBlock(f.Display, f.X, 0, f.W - f.X, f.H, f.Start, f.X, 0);
    return;
  }
  StretchBlock(f.Display, f.X, 0, f.W - f.X, f.H, f.Image, f.X, 0, std::min(f.W - f.X, f.W / 10),
               f.H);
}

// Draws every pixel, as the build-up from the right does.
void BuildUpFromLeft(const TEffectFrame& f) {
  CopyBlock(f.Display, f.W - f.X, 0, f.X, f.H, f.Image, f.W - f.X, 0);
  if (f.W / 10 == 0) {
    CopyBlock(f.Display, 0, 0, f.W - f.X, f.H, f.Start, 0, 0);
    return;
  }
  const int S = std::max((f.W - f.X) - f.W / 10, 0);
  StretchBlock(f.Display, 0, 0, f.W - f.X, f.H, f.Image, S, 0, (f.W - f.X) - S, f.H);
}

void SlideInFromTopAndBottom(const TEffectFrame& f) {
  const int half = f.Y / 2;
  CopyBlock(f.Display, 0, 0, f.W, half, f.Image, 0, 0);
  CopyBlock(f.Display, 0, f.H - half, f.W, half, f.Image, 0, f.H - half);
}

void ExpandInFromTopAndBottom(const TEffectFrame& f) {
  const int half = f.Y / 2;
  StretchBlock(f.Display, 0, 0, f.W, half, f.Image, 0, 0, f.W, f.H / 2);
  StretchBlock(f.Display, 0, f.H - half, f.W, half, f.Image, 0, f.H / 2, f.W, f.H / 2);
}

void UnrollFromTop(const TEffectFrame& f) {
  const int R = BandSize(f.H, f.Y);
  StretchBlock(f.Display, 0, f.Y + R - 1, f.W, -R, f.Image, 0, f.Y + R, f.W, R);
  CopyBlock(f.Display, 0, 0, f.W, f.Y, f.Image, 0, 0);
  ShadeRows(f.Display, kShadeDepth, f.Y, R);
}

void UnrollFromBottom(const TEffectFrame& f) {
  const int R = BandSize(f.H, f.Y);
  StretchBlock(f.Display, 0, f.H - f.Y - 1, f.W, -R, f.Image, 0, f.H - f.Y - 2 * R - 1, f.W, R);
  CopyBlock(f.Display, 0, f.H - f.Y, f.W, f.Y, f.Image, 0, f.H - f.Y);
  ShadeRows(f.Display, kShadeDepth, f.H - f.Y - R, R);
}

void BuildUpFromBottom(const TEffectFrame& f) {
  CopyBlock(f.Display, 0, 0, f.W, f.Y, f.Image, 0, 0);
  StretchBlock(f.Display, 0, f.Y, f.W, f.H - f.Y, f.Image, 0, f.Y, f.W,
               std::min(f.H - f.Y, f.H / 10));
}

void BuildUpFromTop(const TEffectFrame& f) {
  CopyBlock(f.Display, 0, f.H - f.Y, f.W, f.Y, f.Image, 0, f.H - f.Y);
  const int S = std::max((f.H - f.Y) - f.H / 10, 0);
  StretchBlock(f.Display, 0, 0, f.W, f.H - f.Y, f.Image, 0, S, f.W, (f.H - f.Y) - S);
}

}  // namespace pavona::effects
