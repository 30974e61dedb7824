#include "raster/region.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "raster/region_builder.h"

namespace pavona::raster {

namespace {

int ClampCoord(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, -Region::kCoordLimit, Region::kCoordLimit));
}

Rect ClampRect(const Rect& r) {
  return {ClampCoord(r.Left), ClampCoord(r.Top), ClampCoord(r.Right), ClampCoord(r.Bottom)};
}

bool Apply(CombineMode mode, bool in_a, bool in_b) {
  switch (mode) {
    case CombineMode::And: return in_a && in_b;
    case CombineMode::Or: return in_a || in_b;
    case CombineMode::Xor: return in_a != in_b;
    case CombineMode::Diff: return in_a && !in_b;
    case CombineMode::Copy: return in_a;
  }
  return false;
}

// The rectangles of one band: [begin, end) share top and bottom.
struct Band {
  const Rect* begin;
  const Rect* end;
  int top() const { return begin->Top; }
  int bottom() const { return begin->Bottom; }
};

class BandCursor {
 public:
  explicit BandCursor(std::span<const Rect> rects)
      : FNext(rects.data()), FEnd(rects.data() + rects.size()) {}

  bool done() const { return FNext == FEnd; }
  Band current() const {
    const Rect* e = FNext;
    while (e != FEnd && e->Top == FNext->Top) ++e;
    return {FNext, e};
  }
  void advance() { FNext = current().end; }

 private:
  const Rect* FNext;
  const Rect* FEnd;
};

// Spans of one row where mode holds for the x spans of a and b (either may be empty).
void CombineSpans(std::span<const Rect> a, std::span<const Rect> b, CombineMode mode,
                  std::vector<Span>& out) {
  constexpr int kEnd = std::numeric_limits<int>::max();
  out.clear();
  std::size_t ia = 0, ib = 0;
  int x = std::min(a.empty() ? kEnd : a.front().Left, b.empty() ? kEnd : b.front().Left);
  for (;;) {
    while (ia < a.size() && a[ia].Right <= x) ++ia;
    while (ib < b.size() && b[ib].Right <= x) ++ib;
    if (ia == a.size() && ib == b.size()) break;
    const bool in_a = ia < a.size() && a[ia].Left <= x;
    const bool in_b = ib < b.size() && b[ib].Left <= x;
    const int next_a = ia < a.size() ? (in_a ? a[ia].Right : a[ia].Left) : kEnd;
    const int next_b = ib < b.size() ? (in_b ? b[ib].Right : b[ib].Left) : kEnd;
    const int next = std::min(next_a, next_b);
    if (Apply(mode, in_a, in_b)) {
      if (!out.empty() && out.back().right == x) {
        out.back().right = next;
      } else {
        out.push_back({x, next});
      }
    }
    x = next;
  }
}

}  // namespace

Region::Region(const Rect& rect) {
  const Rect r = ClampRect(rect);
  if (r.is_empty()) return;
  FBounds = r;
  FCount = 1;
}

Region Region::Combine(const Region& a, const Region& b, CombineMode mode) {
  switch (mode) {
    case CombineMode::Copy: return a;
    case CombineMode::And:
      if (!a.FBounds.intersects(b.FBounds)) return {};
      break;
    case CombineMode::Diff:
      if (!a.FBounds.intersects(b.FBounds)) return a;
      break;
    case CombineMode::Or:
    case CombineMode::Xor:
      if (a.is_empty()) return b;
      if (b.is_empty()) return a;
      break;
  }
  if (mode == CombineMode::And && a.FCount == 1 && b.FCount == 1) {
    return Region(a.FBounds.intersected(b.FBounds));
  }

  RegionBuilder builder;
  std::vector<Span> spans;
  BandCursor ca(a.rects()), cb(b.rects());
  int y = std::min(a.is_empty() ? b.FBounds.Top : a.FBounds.Top, b.is_empty() ? a.FBounds.Top : b.FBounds.Top);
  while (!ca.done() || !cb.done()) {
    // Each step covers rows [y, next) over which neither input changes.
    constexpr int kEnd = std::numeric_limits<int>::max();
    std::span<const Rect> row_a, row_b;
    int next = kEnd;
    if (!ca.done()) {
      const Band band = ca.current();
      if (band.top() <= y) {
        row_a = {band.begin, band.end};
        next = std::min(next, band.bottom());
      } else {
        next = std::min(next, band.top());
      }
    }
    if (!cb.done()) {
      const Band band = cb.current();
      if (band.top() <= y) {
        row_b = {band.begin, band.end};
        next = std::min(next, band.bottom());
      } else {
        next = std::min(next, band.top());
      }
    }
    CombineSpans(row_a, row_b, mode, spans);
    builder.add_band(y, next, spans);
    y = next;
    if (!ca.done() && ca.current().bottom() <= y) ca.advance();
    if (!cb.done() && cb.current().bottom() <= y) cb.advance();
  }
  return builder.finish();
}

Region Region::intersected(const Rect& rect) const {
  return Combine(*this, Region(rect), CombineMode::And);
}

RegionKind Region::kind() const {
  if (FCount == 0) return RegionKind::Empty;
  return FCount == 1 ? RegionKind::Simple : RegionKind::Complex;
}

std::span<const Rect> Region::rects() const {
  if (FCount == 1) return {&FBounds, 1};
  return FRects;
}

bool Region::contains(int x, int y) const {
  if (!FBounds.contains(x, y)) return false;
  const std::span<const Rect> all = rects();
  // Bottoms never decrease along the list, so the first rectangle ending below y starts its band.
  auto it = std::upper_bound(all.begin(), all.end(), y, [](int v, const Rect& r) { return v < r.Bottom; });
  if (it == all.end() || it->Top > y) return false;
  const int top = it->Top;
  auto band_end = std::find_if(it, all.end(), [top](const Rect& r) { return r.Top != top; });
  auto hit = std::upper_bound(it, band_end, x, [](int v, const Rect& r) { return v < r.Right; });
  return hit != band_end && hit->Left <= x;
}

bool Region::contains(const Rect& rect) const {
  if (rect.is_empty()) return true;
  return Region(rect).subtracted(*this).is_empty();
}

bool Region::intersects(const Rect& rect) const {
  const Rect area = FBounds.intersected(rect);
  if (area.is_empty()) return false;
  const std::span<const Rect> all = rects();
  auto it = std::upper_bound(all.begin(), all.end(), area.Top,
                             [](int v, const Rect& r) { return v < r.Bottom; });
  for (; it != all.end() && it->Top < area.Bottom; ++it) {
    if (it->Left < area.Right && it->Right > area.Left) return true;
  }
  return false;
}

void Region::translate_by(int dx, int dy) {
  if (is_empty()) return;
  const auto inside = [](std::int64_t v) { return v >= -kCoordLimit && v <= kCoordLimit; };
  if (inside(std::int64_t{FBounds.Left} + dx) && inside(std::int64_t{FBounds.Right} + dx) &&
      inside(std::int64_t{FBounds.Top} + dy) && inside(std::int64_t{FBounds.Bottom} + dy)) {
    FBounds = FBounds.translated(dx, dy);
    for (Rect& r : FRects) r = r.translated(dx, dy);
    return;
  }
  // Part of the region leaves the coordinate range: clamp and rebuild, as if made there.
  std::vector<Rect> moved;
  for (const Rect& r : rects()) {
    moved.push_back({ClampCoord(std::int64_t{r.Left} + dx), ClampCoord(std::int64_t{r.Top} + dy),
                     ClampCoord(std::int64_t{r.Right} + dx), ClampCoord(std::int64_t{r.Bottom} + dy)});
  }
  *this = FromRects(moved);
}

Region Region::translated(int dx, int dy) const {
  Region copy = *this;
  copy.translate_by(dx, dy);
  return copy;
}

bool operator==(const Region& a, const Region& b) {
  const std::span<const Rect> ra = a.rects(), rb = b.rects();
  return std::equal(ra.begin(), ra.end(), rb.begin(), rb.end());
}

}  // namespace pavona::raster
