#include "effects/pixel.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "transition/block_copy.h"
#include "transition/mul_div.h"
#include "transition/pixel_kernels.h"
#include "transition/random.h"

namespace pavona::effects {

namespace {

using transition::MulDiv;
using transition::NextRandom;
using transition::TEffectFrame;

std::size_t PixelCount(const TEffectFrame& f) {
  return static_cast<std::size_t>(f.W) * static_cast<std::size_t>(f.H);
}

}  // namespace

// Zooms into the centre of the starting picture, cross-fades to the new one at the deepest zoom
// (progress 41 to 59) and zooms back out of the new picture. The central sw × sh block is
// stretched over a block that reaches 2 xs (2 ys) beyond each edge, so it covers the frame.
void Pixelate(const TEffectFrame& f) {
  const bool zoomingIn = f.Progress <= 50;
  const std::int32_t k = zoomingIn ? 180 - MulDiv(f.Progress, 82, 50)
                                   : MulDiv(f.Progress - 100, 82, 50) + 180;
  const std::int32_t xs = MulDiv(zoomingIn ? f.X : f.W - f.X, k, 100);
  const std::int32_t ys = MulDiv(zoomingIn ? f.Y : f.H - f.Y, k, 100);
  std::int32_t sw = f.W - 2 * xs;
  std::int32_t sh = f.H - 2 * ys;
  if (sw <= 2) sw = 2;
  if (sh <= 2) sh = 2;
  const raster::Bitmap* source = zoomingIn ? &f.Start : &f.Image;
  // On pictures a few pixels across the raised block can reach past the picture; the pixels
  // that would take their colour from outside it keep the starting picture.
  if (xs + sw > f.W || ys + sh > f.H) {
    transition::CopyBlock(f.Display, 0, 0, f.W, f.H, f.Start, 0, 0);
  }
  if (f.Progress >= 41 && f.Progress <= 59) {
    transition::CopyBlock(f.Display, xs, ys, sw, sh, f.Start, xs, ys);
    transition::BlendRect(f.Display, f.Image, 5 * f.Progress - 200, xs, ys, sw, sh);
    source = &f.Display;
  }
  transition::StretchBlock(f.Display, -2 * xs, -2 * ys, f.W + 4 * xs, f.H + 4 * ys, *source, xs,
                           ys, sw, sh);
}

void Dissolve(const TEffectFrame& f) {
  transition::DissolvePixels(f.Display.data(), f.Start.data(), f.Image.data(), PixelCount(f),
                             f.Progress);
}

// One random number a row, in store order: the bottom row first.
void RandomBarsHorizontal(const TEffectFrame& f) {
  const auto width = static_cast<std::size_t>(f.W);
  for (std::int32_t row = 0; row < f.H; ++row) {
    const std::size_t at = static_cast<std::size_t>(row) * width;
    const raster::Pixel* from = NextRandom(100) < f.Progress ? f.Image.data() : f.Start.data();
    if (f.Display.data() + at != from + at) {
      std::memcpy(f.Display.data() + at, from + at, width * sizeof(raster::Pixel));
    }
  }
}

// One random number a column, from the left; then every row takes the chosen columns.
void RandomBarsVertical(const TEffectFrame& f) {
  std::vector<raster::Pixel> chosen(static_cast<std::size_t>(f.W));
  for (raster::Pixel& column : chosen) column = NextRandom(100) < f.Progress ? ~0u : 0u;
  for (std::int32_t y = 0; y < f.H; ++y) {
    transition::SelectPixels(f.Display.scanline(y), f.Start.scanline(y), f.Image.scanline(y),
                             chosen.data(), chosen.size());
  }
}

// The channels come in one at a time, in a random order drawn from the transition's seed: the
// first by progress 33, the second by 66, the third by 99.
void ChannelMix(const TEffectFrame& f) {
  const std::int32_t c1 = NextRandom(3);
  std::int32_t c2 = NextRandom(3);
  while (c2 == c1) c2 = NextRandom(3);
  const std::int32_t c3 = ~(c1 | c2) & 3;
  const auto byte = [](std::int32_t channel) { return 0xFFu << (8 * channel); };
  raster::Pixel newBytes = 0;
  std::int32_t blended = c1;
  std::int32_t weight = MulDiv(256, f.Progress, 33);
  if (f.Progress >= 67) {
    newBytes = byte(c1) | byte(c2);
    blended = c3;
    weight = MulDiv(256, f.Progress - 66, 33);
  } else if (f.Progress >= 34) {
    newBytes = byte(c1);
    blended = c2;
    weight = MulDiv(256, f.Progress - 33, 33);
  }
  transition::MixChannels(f.Display.data(), f.Start.data(), f.Image.data(), PixelCount(f),
                          newBytes, 8 * blended, static_cast<std::uint32_t>(weight));
}

}  // namespace pavona::effects
