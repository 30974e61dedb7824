#include "raster/bitmap.h"

#include <algorithm>
#include <utility>

namespace pavona::raster {

Bitmap::Bitmap(int width, int height) { resize(width, height); }

Bitmap::Bitmap(Bitmap&& other) noexcept
    : width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)),
      pixels_(std::move(other.pixels_)),
      state_(std::exchange(other.state_, {})) {
  other.pixels_.clear();
}

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
  if (this != &other) {
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    pixels_ = std::move(other.pixels_);
    other.pixels_.clear();
    state_ = std::exchange(other.state_, {});
  }
  return *this;
}

Bitmap Bitmap::clone() const {
  Bitmap copy;
  copy.width_ = width_;
  copy.height_ = height_;
  copy.pixels_ = pixels_;
  return copy;
}

void Bitmap::resize(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  pixels_.assign(static_cast<std::size_t>(width_) * height_, 0);
  state_ = {};
}

void Bitmap::fill(Pixel p) { std::fill(pixels_.begin(), pixels_.end(), p); }

}  // namespace pavona::raster
