// A 32-bit bitmap: four bytes a pixel (blue, green, red, and a fourth byte that carries no
// colour), rows stored bottom-up without gaps, as the transition bitmaps and picture decoders
// expect. Owns its pixels; moves, but copies only through clone(). It carries the state of its
// drawing surface (clip and origin, see surface.h), which the drawing operations honour.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>

#include "raster/drawing_state.h"
#include "raster/geometry.h"

namespace pavona::raster {

using Pixel = std::uint32_t;  // 0xXXRRGGBB in memory order B, G, R, X

constexpr Pixel MakePixel(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return (static_cast<Pixel>(r) << 16) | (static_cast<Pixel>(g) << 8) | b;
}

class Bitmap {
 public:
  Bitmap() = default;
  Bitmap(int width, int height);  // filled with zero (black)

  Bitmap(Bitmap&& other) noexcept;
  Bitmap& operator=(Bitmap&& other) noexcept;
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;

  // A copy of the pixels with a fresh drawing state (no clip, origin 0, 0).
  Bitmap clone() const;

  int width() const { return FWidth; }
  int height() const { return FHeight; }
  Size size() const { return {FWidth, FHeight}; }
  Rect bounds() const { return {0, 0, FWidth, FHeight}; }
  bool is_empty() const { return FWidth <= 0 || FHeight <= 0; }

  // Reallocates to the new size; the contents become black and the drawing state is reset.
  void resize(int width, int height);

  // Row y counted from the top. Rows are stored bottom-up: row y lives at storage row
  // height - 1 - y.
  Pixel* scanline(int y) { return FPixels.get() + static_cast<std::size_t>(FHeight - 1 - y) * FWidth; }
  const Pixel* scanline(int y) const {
    return FPixels.get() + static_cast<std::size_t>(FHeight - 1 - y) * FWidth;
  }
  std::span<Pixel> row(int y) { return {scanline(y), static_cast<std::size_t>(FWidth)}; }
  std::span<const Pixel> row(int y) const { return {scanline(y), static_cast<std::size_t>(FWidth)}; }

  Pixel pixel(int x, int y) const { return scanline(y)[x]; }
  void set_pixel(int x, int y, Pixel p) { scanline(y)[x] = p; }

  // All pixels in storage order (bottom row first).
  Pixel* data() { return FPixels.get(); }
  const Pixel* data() const { return FPixels.get(); }
  std::size_t pixel_count() const { return FCount; }
  std::size_t byte_count() const { return FCount * sizeof(Pixel); }

  void fill(Pixel p);

  // Clip and origin of the drawing surface; see Surface for the operations on them.
  DrawingState& drawing_state() { return FState; }
  const DrawingState& drawing_state() const { return FState; }

  // The bitmap's own lock, taken around composition and drawing by the threads that share it.
  std::recursive_mutex& lock() const { return *FLock; }

 private:
  int FWidth = 0;
  int FHeight = 0;
  // Zeroed storage from the allocator: a large new bitmap comes as fresh zero pages from the
  // system instead of being written twice (a slide is allocated, then drawn over at once).
  struct FreePixels {
    void operator()(Pixel* p) const;
  };
  std::unique_ptr<Pixel[], FreePixels> FPixels;
  std::size_t FCount = 0;
  DrawingState FState;
  std::unique_ptr<std::recursive_mutex> FLock = std::make_unique<std::recursive_mutex>();
};

}  // namespace pavona::raster
