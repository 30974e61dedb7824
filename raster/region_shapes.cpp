// The shape constructors of Region: rectangle lists, polygons, ellipses and rounded rectangles.
// Shapes with slanted or curved edges are sampled at pixel centres; to stay exact at any size the
// tests are done in integers on doubled coordinates, where the centre of pixel x is 2x + 1.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "raster/region.h"
#include "raster/region_builder.h"

namespace pavona::raster {

namespace {

using Wide = __int128;

int Clamp(int v) { return std::clamp(v, -Region::kCoordLimit, Region::kCoordLimit); }

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {  // b > 0
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}
std::int64_t CeilDiv(std::int64_t a, std::int64_t b) { return -FloorDiv(-a, b); }

std::int64_t ISqrt(std::int64_t v) {  // v >= 0
  auto r = static_cast<std::int64_t>(std::sqrt(static_cast<double>(v)));
  while (r > 0 && r * r > v) --r;
  while ((r + 1) * (r + 1) <= v) ++r;
  return r;
}

// The pixels x whose doubled centre 2x + 1 lies within [c - q, c + q].
Span CentredSpan(std::int64_t c, std::int64_t q) {
  return {static_cast<int>(CeilDiv(c - q - 1, 2)), static_cast<int>(FloorDiv(c + q - 1, 2) + 1)};
}

// A rectangle with the corners cut by quarter ellipses, corner_w × corner_h (both >= 1 and at
// most the size of the rectangle); corner sizes equal to the rectangle give the ellipse.
Region RoundedShape(const Rect& r, std::int64_t corner_w, std::int64_t corner_h) {
  const std::int64_t w = r.width(), h = r.height();
  const std::int64_t cx = std::int64_t{r.Left} + r.Right, cy = std::int64_t{r.Top} + r.Bottom;
  const Wide cw2 = Wide{corner_w} * corner_w, ch2 = Wide{corner_h} * corner_h;
  RegionBuilder builder;
  for (int y = r.Top; y < r.Bottom; ++y) {
    // How far the row's centre reaches into the corner ellipse, vertically (doubled units).
    const std::int64_t dy = std::max<std::int64_t>(0, std::abs(2 * std::int64_t{y} + 1 - cy) - (h - corner_h));
    // The widest dx with dx² / cw² + dy² / ch² <= 1.
    const auto reach = static_cast<std::int64_t>(cw2 * (ch2 - Wide{dy} * dy) / ch2);
    const Span span = CentredSpan(cx, (w - corner_w) + ISqrt(reach));
    if (span.left < span.right) builder.add_band(y, y + 1, {&span, 1});
  }
  return builder.finish();
}

struct Edge {
  std::int64_t x0, y0, x1, y1;  // y0 < y1
  int direction;                // +1 when the outline runs downwards
};

// Where an edge crosses the centre line of row y, as the fraction num / den (den > 0).
struct Crossing {
  std::int64_t num, den;
  int direction;
};

Crossing CrossAt(const Edge& e, int y) {
  const std::int64_t dy = e.y1 - e.y0;
  return {2 * e.x0 * dy + (e.x1 - e.x0) * (2 * std::int64_t{y} + 1 - 2 * e.y0), 2 * dy, e.direction};
}

}  // namespace

Region Region::FromRects(std::span<const Rect> rects) {
  std::vector<Rect> list;
  list.reserve(rects.size());
  for (const Rect& r : rects) {
    const Rect c{Clamp(r.Left), Clamp(r.Top), Clamp(r.Right), Clamp(r.Bottom)};
    if (!c.is_empty()) list.push_back(c);
  }
  if (list.size() <= 1) return list.empty() ? Region() : Region(list.front());

  // Sweep down the y edges; between two of them the set of rectangles crossed is fixed.
  std::vector<int> ys;
  ys.reserve(list.size() * 2);
  for (const Rect& r : list) {
    ys.push_back(r.Top);
    ys.push_back(r.Bottom);
  }
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  std::sort(list.begin(), list.end(), [](const Rect& a, const Rect& b) { return a.Top < b.Top; });

  RegionBuilder builder;
  std::vector<const Rect*> active;
  std::vector<Span> spans;
  std::size_t next = 0;
  for (std::size_t i = 0; i + 1 < ys.size(); ++i) {
    const int top = ys[i], bottom = ys[i + 1];
    std::erase_if(active, [top](const Rect* r) { return r->Bottom <= top; });
    while (next < list.size() && list[next].Top <= top) active.push_back(&list[next++]);
    spans.clear();
    for (const Rect* r : active) spans.push_back({r->Left, r->Right});
    NormalizeSpans(spans);
    builder.add_band(top, bottom, spans);
  }
  return builder.finish();
}

Region Region::FromPolygon(std::span<const Point> vertices, FillMode mode) {
  std::vector<Edge> edges;
  for (std::size_t i = 0; i < vertices.size(); ++i) {
    const Point a = vertices[i], b = vertices[(i + 1) % vertices.size()];
    const std::int64_t ax = Clamp(a.X), ay = Clamp(a.Y), bx = Clamp(b.X), by = Clamp(b.Y);
    if (ay < by) edges.push_back({ax, ay, bx, by, +1});
    if (by < ay) edges.push_back({bx, by, ax, ay, -1});
  }
  if (edges.empty()) return {};
  std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.y0 < b.y0; });
  std::int64_t bottom = edges.front().y1;
  for (const Edge& e : edges) bottom = std::max(bottom, e.y1);

  RegionBuilder builder;
  std::vector<const Edge*> active;
  std::vector<Crossing> crossings;
  std::vector<Span> spans;
  std::size_t next = 0;
  // Vertices have integer y, so a row's centre line y + 0.5 never passes through one: an edge
  // covers the rows y0 <= y < y1.
  for (auto y = static_cast<int>(edges.front().y0); y < bottom; ++y) {
    std::erase_if(active, [y](const Edge* e) { return e->y1 <= y; });
    while (next < edges.size() && edges[next].y0 <= y) active.push_back(&edges[next++]);
    crossings.clear();
    for (const Edge* e : active) crossings.push_back(CrossAt(*e, y));
    std::sort(crossings.begin(), crossings.end(), [](const Crossing& a, const Crossing& b) {
      return Wide{a.num} * b.den < Wide{b.num} * a.den;
    });
    // Between two crossings the winding number is fixed. Inside runs are closed at both ends, so
    // a pixel centre on the outline belongs to the shape on either side alike; a run of no width
    // (two edges meeting on the centre line, as in a polygon without area) holds nothing.
    spans.clear();
    int winding = 0;
    const Crossing* start = nullptr;
    for (const Crossing& c : crossings) {
      const bool was_inside = mode == FillMode::Winding ? winding != 0 : (winding & 1) != 0;
      winding += mode == FillMode::Winding ? c.direction : 1;
      const bool inside = mode == FillMode::Winding ? winding != 0 : (winding & 1) != 0;
      if (!was_inside && inside) start = &c;
      if (was_inside && !inside && Wide{start->num} * c.den != Wide{c.num} * start->den) {
        // Pixels x with start <= x + 0.5 <= c.
        const auto left = CeilDiv(2 * start->num - start->den, 2 * start->den);
        const auto right = FloorDiv(2 * c.num - c.den, 2 * c.den) + 1;
        if (left < right) spans.push_back({static_cast<int>(left), static_cast<int>(right)});
      }
    }
    NormalizeSpans(spans);
    builder.add_band(y, y + 1, spans);
  }
  return builder.finish();
}

Region Region::FromEllipse(const Rect& bounds) {
  const Rect r{Clamp(bounds.Left), Clamp(bounds.Top), Clamp(bounds.Right), Clamp(bounds.Bottom)};
  if (r.is_empty()) return {};
  return RoundedShape(r, r.width(), r.height());
}

Region Region::FromRoundRect(const Rect& bounds, int corner_width, int corner_height) {
  const Rect r{Clamp(bounds.Left), Clamp(bounds.Top), Clamp(bounds.Right), Clamp(bounds.Bottom)};
  if (r.is_empty()) return {};
  if (corner_width <= 0 || corner_height <= 0) return Region(r);
  return RoundedShape(r, std::min(corner_width, r.width()), std::min(corner_height, r.height()));
}

}  // namespace pavona::raster
