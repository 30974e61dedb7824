#include "raster/region_builder.h"

#include <algorithm>
#include <cassert>

namespace pavona::raster {

void NormalizeSpans(std::vector<Span>& spans) {
  std::erase_if(spans, [](const Span& s) { return s.right <= s.left; });
  std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.left < b.left; });
  std::size_t out = 0;
  for (const Span& s : spans) {
    if (out > 0 && s.left <= spans[out - 1].right) {
      spans[out - 1].right = std::max(spans[out - 1].right, s.right);
    } else {
      spans[out++] = s;
    }
  }
  spans.resize(out);
}

void RegionBuilder::add_band(int top, int bottom, std::span<const Span> spans) {
  if (bottom <= top || spans.empty()) return;
  const std::size_t previous_count = FRects.size() - last_band_;
  if (previous_count == spans.size() && FRects[last_band_].Bottom == top &&
      std::equal(spans.begin(), spans.end(), FRects.begin() + static_cast<std::ptrdiff_t>(last_band_),
                 [](const Span& s, const Rect& r) { return s.left == r.Left && s.right == r.Right; })) {
    for (std::size_t i = last_band_; i < FRects.size(); ++i) FRects[i].Bottom = bottom;
    return;
  }
  last_band_ = FRects.size();
  for (const Span& s : spans) FRects.push_back({s.left, top, s.right, bottom});
}

Region RegionBuilder::finish() {
  assert(IsCanonical(FRects));
  Region region;
  region.FCount = FRects.size();
  if (FRects.empty()) return region;
  int left = FRects.front().Left;
  int right = FRects.front().Right;
  for (const Rect& r : FRects) {
    left = std::min(left, r.Left);
    right = std::max(right, r.Right);
  }
  region.FBounds = {left, FRects.front().Top, right, FRects.back().Bottom};
  if (FRects.size() > 1) region.FRects = std::move(FRects);
  FRects.clear();
  last_band_ = 0;
  return region;
}

bool IsCanonical(std::span<const Rect> rects) {
  for (std::size_t i = 0; i < rects.size(); ++i) {
    const Rect& r = rects[i];
    if (r.is_empty()) return false;
    if (i == 0) continue;
    const Rect& p = rects[i - 1];
    if (r.Top == p.Top) {
      // Same band: same rows, sorted, not touching.
      if (r.Bottom != p.Bottom || r.Left <= p.Right) return false;
    } else if (r.Top < p.Bottom) {
      return false;
    }
  }
  // Touching neighbouring bands must differ, or they would have been merged.
  auto band_end = [&](std::size_t i) {
    std::size_t j = i;
    while (j < rects.size() && rects[j].Top == rects[i].Top) ++j;
    return j;
  };
  for (std::size_t band = 0, next = band_end(0); next < rects.size(); band = next, next = band_end(next)) {
    const std::size_t after = band_end(next);
    if (rects[next].Top == rects[band].Bottom && after - next == next - band &&
        std::equal(rects.begin() + static_cast<std::ptrdiff_t>(band),
                   rects.begin() + static_cast<std::ptrdiff_t>(next),
                   rects.begin() + static_cast<std::ptrdiff_t>(next),
                   [](const Rect& a, const Rect& b) { return a.Left == b.Left && a.Right == b.Right; })) {
      return false;
    }
  }
  return true;
}

}  // namespace pavona::raster
