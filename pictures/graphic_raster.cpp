#include "pictures/graphic_raster.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace pavona::pictures {

namespace {

using raster::Pixel;

constexpr Pixel kColourBits = 0x00FFFFFF;

void CopyRow(Pixel* out, const Pixel* src, int count) {
  for (int i = 0; i < count; ++i) out[i] = src[i] & kColourBits;
}

// Blends each pixel over the one below in proportion to its alpha, rounded to nearest. The
// fourth byte of the canvas is left as it was where the pixel is not opaque.
void BlendRow(Pixel* out, const Pixel* src, int count) {
  for (int i = 0; i < count; ++i) {
    const Pixel s = src[i];
    const std::uint32_t a = s >> 24;
    if (a == 255) {
      out[i] = s & kColourBits;
    } else if (a != 0) {
      const Pixel d = out[i];
      Pixel result = d & ~kColourBits;
      for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t sc = (s >> shift) & 0xFF;
        const std::uint32_t dc = (d >> shift) & 0xFF;
        result |= ((sc * a + dc * (255 - a) + 127) / 255) << shift;
      }
      out[i] = result;
    }
  }
}

}  // namespace

bool IsAcceptableGraphicSize(long long width, long long height) {
  return width > 0 && height > 0 && width <= kMaxGraphicSide && height <= kMaxGraphicSide &&
         width * height <= kMaxGraphicPixels;
}

void TRasterGraphic::SetPixels(raster::Bitmap pixels, bool hasAlpha) {
  FPixels = std::move(pixels);
  FHasAlpha = hasAlpha;
  Changed();
}

void TRasterGraphic::CopyPixelsFrom(const TRasterGraphic& source) {
  FPixels = source.FPixels.clone();
  FHasAlpha = source.FHasAlpha;
}

void TRasterGraphic::DoDraw(raster::Bitmap& canvas, const raster::Rect& dest,
                            const raster::Rect& clip) const {
  const int w = Width();
  const int h = Height();
  const int count = clip.width();
  const auto drawRow = FHasAlpha ? BlendRow : CopyRow;
  if (dest.width() == w && dest.height() == h) {
    for (int y = clip.Top; y < clip.Bottom; ++y) {
      drawRow(canvas.scanline(y) + clip.Left,
              FPixels.scanline(y - dest.Top) + (clip.Left - dest.Left), count);
    }
    return;
  }
  // Stretched: the source column of every canvas column is computed once, and each row is
  // gathered into a buffer that the row drawer then treats like a natural-size row.
  std::vector<int> columns(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    columns[i] = static_cast<int>(static_cast<long long>(clip.Left + i - dest.Left) * w /
                                  dest.width());
  }
  std::vector<Pixel> gathered(static_cast<std::size_t>(count));
  for (int y = clip.Top; y < clip.Bottom; ++y) {
    const int sy =
        static_cast<int>(static_cast<long long>(y - dest.Top) * h / dest.height());
    const Pixel* src = FPixels.scanline(sy);
    for (int i = 0; i < count; ++i) gathered[i] = src[columns[i]];
    drawRow(canvas.scanline(y) + clip.Left, gathered.data(), count);
  }
}

}  // namespace pavona::pictures
