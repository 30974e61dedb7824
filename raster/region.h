// A region is a set of pixels, kept as a value: y-sorted bands of x-sorted rectangles.
//
//     rows 0-1   [====]    [==]      band of two rectangles
//     rows 2-4   [============]      band of one (touching rectangles of a band are one)
//     rows 7-8       [==]            band of one
//
// Rectangles of a band share its top and bottom, are sorted by left and never touch; bands are
// sorted by top and never overlap; two bands that touch never have the same x spans (they would
// be one band). A debug build checks these rules on every region an operation makes.
//
// This form is canonical: two regions hold the same pixels exactly when their rectangle lists are
// equal. A clipped copy walks it band by band, one bulk row copy per rectangle and row.
//
// Pixel rules: a rectangle holds Left <= x < Right, Top <= y < Bottom; empty and inverted
// rectangles hold no pixel. A polygon, ellipse or rounded rectangle holds the pixels whose centre
// (x + 0.5, y + 0.5) lies inside it or on its outline, so an ellipse or rounded rectangle built on
// a rectangle stays within that rectangle and symmetric shapes stay symmetric. A polygon's outline
// counts only where it borders the inside: a polygon without area holds no pixel.
//
// Coordinates are limited to [-kCoordLimit, kCoordLimit]; larger inputs are clamped to it.
// Empty and one-rectangle regions keep no heap storage.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "raster/geometry.h"

namespace pavona::raster {

// How a self-intersecting polygon is filled: Alternate fills where a ray crosses the outline an
// odd number of times, Winding wherever the outline winds around the point at all.
enum class FillMode { Alternate, Winding };

enum class CombineMode { And, Or, Xor, Diff, Copy };

enum class RegionKind { Empty, Simple, Complex };

class Region {
 public:
  static constexpr int kCoordLimit = 1 << 27;

  Region() = default;  // empty
  explicit Region(const Rect& rect);

  // The union of the rectangles; empty and inverted ones are skipped.
  static Region FromRects(std::span<const Rect> rects);
  static Region FromPolygon(std::span<const Point> vertices, FillMode mode = FillMode::Winding);
  // The ellipse inscribed in bounds.
  static Region FromEllipse(const Rect& bounds);
  // bounds with corners rounded by quarters of an ellipse corner_width × corner_height (clamped
  // to the size of bounds); a zero or negative corner size gives the plain rectangle.
  static Region FromRoundRect(const Rect& bounds, int corner_width, int corner_height);

  // a op b, the result of combining two regions; Copy gives a.
  static Region Combine(const Region& a, const Region& b, CombineMode mode);

  Region united(const Region& other) const { return Combine(*this, other, CombineMode::Or); }
  Region intersected(const Region& other) const { return Combine(*this, other, CombineMode::And); }
  Region xored(const Region& other) const { return Combine(*this, other, CombineMode::Xor); }
  Region subtracted(const Region& other) const { return Combine(*this, other, CombineMode::Diff); }
  Region intersected(const Rect& rect) const;

  void unite(const Region& other) { *this = united(other); }
  void intersect(const Region& other) { *this = intersected(other); }
  void xor_with(const Region& other) { *this = xored(other); }
  void subtract(const Region& other) { *this = subtracted(other); }

  bool is_empty() const { return FCount == 0; }
  RegionKind kind() const;
  // The smallest rectangle holding every pixel; (0, 0, 0, 0) for an empty region.
  Rect bounds() const { return FBounds; }

  bool contains(int x, int y) const;
  bool contains(Point p) const { return contains(p.X, p.Y); }
  // True when every pixel of rect is in the region (an empty rect is contained).
  bool contains(const Rect& rect) const;
  // True when some pixel of rect is in the region.
  bool intersects(const Rect& rect) const;

  void translate_by(int dx, int dy);
  Region translated(int dx, int dy) const;

  // The rectangles in band order: by top, then by left.
  std::span<const Rect> rects() const;
  std::size_t rect_count() const { return FCount; }
  const Rect* begin() const { return rects().data(); }
  const Rect* end() const { return rects().data() + FCount; }

  friend bool operator==(const Region& a, const Region& b);

 private:
  friend class RegionBuilder;

  // One rectangle lives in FBounds alone; FRects is used from two rectangles on.
  Rect FBounds{};
  std::size_t FCount = 0;
  std::vector<Rect> FRects;
};

}  // namespace pavona::raster
