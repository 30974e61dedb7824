// Assembles a region band by band, from the top down, keeping it in the canonical form that
// region.h describes. Used by the shape constructors and the combine operations.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "raster/region.h"

namespace pavona::raster {

// The pixels left <= x < right of one row or band.
struct Span {
  int left = 0;
  int right = 0;
  friend bool operator==(const Span&, const Span&) = default;
};

// Sorts spans by left and merges the ones that overlap or touch; drops empty ones.
void NormalizeSpans(std::vector<Span>& spans);

class RegionBuilder {
 public:
  // Appends rows top <= y < bottom holding spans (sorted, disjoint and not touching, as
  // NormalizeSpans leaves them). Bands come in increasing y and do not overlap; a band that
  // continues the previous one with the same spans extends it.
  void add_band(int top, int bottom, std::span<const Span> spans);

  Region finish();

 private:
  std::vector<Rect> FRects;
  std::size_t last_band_ = 0;  // index of the first rectangle of the last band
};

// Debug builds check the band rules after every operation that makes a region.
bool IsCanonical(std::span<const Rect> rects);

}  // namespace pavona::raster
