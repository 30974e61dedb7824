#include "raster/bitmap.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace pavona::raster {

namespace {

Pixel* AllocatePixels(std::size_t count, bool zeroed) {
  if (count == 0) return nullptr;
  void* p = zeroed ? std::calloc(count, sizeof(Pixel)) : std::malloc(count * sizeof(Pixel));
  if (p == nullptr) throw std::bad_alloc();
  return static_cast<Pixel*>(p);
}

}  // namespace

void Bitmap::FreePixels::operator()(Pixel* p) const { std::free(p); }

Bitmap::Bitmap(int width, int height) { resize(width, height); }

Bitmap::Bitmap(Bitmap&& other) noexcept
    : FWidth(std::exchange(other.FWidth, 0)),
      FHeight(std::exchange(other.FHeight, 0)),
      FPixels(std::move(other.FPixels)),
      FCount(std::exchange(other.FCount, 0)),
      FState(std::exchange(other.FState, {})) {}

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
  if (this != &other) {
    FWidth = std::exchange(other.FWidth, 0);
    FHeight = std::exchange(other.FHeight, 0);
    FPixels = std::move(other.FPixels);
    FCount = std::exchange(other.FCount, 0);
    FState = std::exchange(other.FState, {});
  }
  return *this;
}

Bitmap Bitmap::clone() const {
  Bitmap copy;
  copy.FWidth = FWidth;
  copy.FHeight = FHeight;
  copy.FCount = FCount;
  copy.FPixels.reset(AllocatePixels(FCount, false));
  if (FCount > 0) std::memcpy(copy.FPixels.get(), FPixels.get(), byte_count());
  return copy;
}

void Bitmap::resize(int width, int height) {
  const std::size_t count = static_cast<std::size_t>(std::max(width, 0)) * std::max(height, 0);
  if (count == FCount) {
    // Same storage size: clearing what is there is cheaper than fresh pages.
    if (FCount > 0) std::memset(FPixels.get(), 0, byte_count());
  } else {
    FPixels.reset(AllocatePixels(count, true));
    FCount = count;
  }
  FWidth = std::max(width, 0);
  FHeight = std::max(height, 0);
  FState = {};
}

void Bitmap::fill(Pixel p) { std::fill(data(), data() + FCount, p); }

}  // namespace pavona::raster
