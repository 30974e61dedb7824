// Value types for integer geometry. A rectangle is half-open: it holds the pixels with
// Left <= x < Right and Top <= y < Bottom, so its right and bottom edges are outside.
#pragma once

#include <algorithm>

namespace pavona::raster {

struct Point {
  int X = 0;
  int Y = 0;
  constexpr Point translated(int dx, int dy) const { return {X + dx, Y + dy}; }
  friend constexpr bool operator==(Point, Point) = default;
};

struct Size {
  int Width = 0;
  int Height = 0;
  constexpr bool is_empty() const { return Width <= 0 || Height <= 0; }
  friend constexpr bool operator==(Size, Size) = default;
};

struct Rect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  static constexpr Rect FromSize(int x, int y, int width, int height) {
    return {x, y, x + width, y + height};
  }

  constexpr int width() const { return Right - Left; }
  constexpr int height() const { return Bottom - Top; }
  // Empty and inverted rectangles hold no pixel.
  constexpr bool is_empty() const { return Right <= Left || Bottom <= Top; }
  constexpr bool contains(int x, int y) const {
    return x >= Left && x < Right && y >= Top && y < Bottom;
  }
  // Whether every pixel of o lies inside (an empty o counts when its edges do).
  constexpr bool contains(const Rect& o) const {
    return o.Left >= Left && o.Top >= Top && o.Right <= Right && o.Bottom <= Bottom;
  }
  constexpr Rect translated(int dx, int dy) const {
    return {Left + dx, Top + dy, Right + dx, Bottom + dy};
  }
  constexpr Rect intersected(const Rect& o) const {
    Rect r{std::max(Left, o.Left), std::max(Top, o.Top), std::min(Right, o.Right),
           std::min(Bottom, o.Bottom)};
    return r.is_empty() ? Rect{} : r;
  }
  constexpr bool intersects(const Rect& o) const { return !intersected(o).is_empty(); }
  // The smallest rectangle holding both; an empty rectangle adds nothing.
  constexpr Rect united(const Rect& o) const {
    if (is_empty()) return o;
    if (o.is_empty()) return *this;
    return {std::min(Left, o.Left), std::min(Top, o.Top), std::max(Right, o.Right),
            std::max(Bottom, o.Bottom)};
  }
  friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace pavona::raster
