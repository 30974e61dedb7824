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
    : width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)),
      pixels_(std::move(other.pixels_)),
      count_(std::exchange(other.count_, 0)),
      state_(std::exchange(other.state_, {})) {}

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
  if (this != &other) {
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    pixels_ = std::move(other.pixels_);
    count_ = std::exchange(other.count_, 0);
    state_ = std::exchange(other.state_, {});
  }
  return *this;
}

Bitmap Bitmap::clone() const {
  Bitmap copy;
  copy.width_ = width_;
  copy.height_ = height_;
  copy.count_ = count_;
  copy.pixels_.reset(AllocatePixels(count_, false));
  if (count_ > 0) std::memcpy(copy.pixels_.get(), pixels_.get(), byte_count());
  return copy;
}

void Bitmap::resize(int width, int height) {
  const std::size_t count = static_cast<std::size_t>(std::max(width, 0)) * std::max(height, 0);
  if (count == count_) {
    // Same storage size: clearing what is there is cheaper than fresh pages.
    if (count_ > 0) std::memset(pixels_.get(), 0, byte_count());
  } else {
    pixels_.reset(AllocatePixels(count, true));
    count_ = count;
  }
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  state_ = {};
}

void Bitmap::fill(Pixel p) { std::fill(data(), data() + count_, p); }

}  // namespace pavona::raster
