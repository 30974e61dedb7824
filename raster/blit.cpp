#include "raster/blit.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "raster/surface.h"

namespace pavona::raster {

namespace {

// Bitmap pixels of the rectangle (left, top)-(right, bottom), computed without overflow and cut
// to the bitmap.
Rect CutToBitmap(const Bitmap& bitmap, std::int64_t left, std::int64_t top, std::int64_t right,
                 std::int64_t bottom) {
  const auto cut = [](std::int64_t v, int limit) { return static_cast<int>(std::clamp<std::int64_t>(v, 0, limit)); };
  const Rect r{cut(left, bitmap.width()), cut(top, bitmap.height()), cut(right, bitmap.width()),
               cut(bottom, bitmap.height())};
  return r.is_empty() ? Rect{} : r;
}

// The parts of area (inside the bitmap) that the clip lets through, in band order.
void ClipPieces(const Bitmap& dest, const Rect& area, std::vector<Rect>& pieces) {
  pieces.clear();
  if (area.is_empty()) return;
  const auto& clip = dest.drawing_state().clip;
  if (!clip) {
    pieces.push_back(area);
    return;
  }
  const std::span<const Rect> rects = clip->rects();
  auto it = std::upper_bound(rects.begin(), rects.end(), area.Top,
                             [](int v, const Rect& r) { return v < r.Bottom; });
  for (; it != rects.end() && it->Top < area.Bottom; ++it) {
    const Rect piece = it->intersected(area);
    if (!piece.is_empty()) pieces.push_back(piece);
  }
}

// Calls row(y, piece) for every row of every piece. Pieces of one band share their rows; the
// order of bands and rows, and of pieces within a row, can be reversed, which is what lets a copy
// inside one bitmap read each source pixel before it is overwritten.
template <class RowFn>
void ForEachRow(std::span<const Rect> pieces, bool bottom_up, bool right_to_left, RowFn row) {
  std::vector<std::size_t> bands;  // index of the first piece of each band
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (i == 0 || pieces[i].Top != pieces[i - 1].Top) bands.push_back(i);
  }
  bands.push_back(pieces.size());
  const std::size_t band_count = bands.size() - 1;
  for (std::size_t b = 0; b < band_count; ++b) {
    const std::size_t band = bottom_up ? band_count - 1 - b : b;
    const std::span<const Rect> in_band = pieces.subspan(bands[band], bands[band + 1] - bands[band]);
    const int top = in_band.front().Top, bottom = in_band.front().Bottom;
    for (int r = top; r < bottom; ++r) {
      const int y = bottom_up ? bottom - 1 - (r - top) : r;
      for (std::size_t p = 0; p < in_band.size(); ++p) row(y, in_band[right_to_left ? in_band.size() - 1 - p : p]);
    }
  }
}

void GatherRow(Pixel* __restrict dest, const Pixel* __restrict source, const int* __restrict map, int n) {
  for (int i = 0; i < n; ++i) dest[i] = source[map[i]];
}

void ReverseRow(Pixel* __restrict dest, const Pixel* __restrict source_last, int n) {
  for (int i = 0; i < n; ++i) dest[i] = source_last[-i];
}

// One axis of a stretch: which destination pixels (from first, in bitmap order) are written and
// the source pixel each takes. False when none is.
bool MapAxis(std::int64_t d0, int d_extent, int d_limit, int s0, int s_extent, int s_limit, int& first,
             std::vector<int>& map) {
  const std::int64_t D = d_extent > 0 ? d_extent : -std::int64_t{d_extent};
  const std::int64_t S = s_extent > 0 ? s_extent : -std::int64_t{s_extent};
  // Step i of the block lands on d0 ± i; keep the steps that land inside the bitmap.
  std::int64_t lo = 0, hi = D;
  if (d_extent > 0) {
    lo = std::max<std::int64_t>(lo, -d0);
    hi = std::min<std::int64_t>(hi, d_limit - d0);
  } else {
    lo = std::max<std::int64_t>(lo, d0 - d_limit + 1);
    hi = std::min<std::int64_t>(hi, d0 + 1);
  }
  // Source steps only grow with i, so those that read inside the source form one run too.
  const auto source_at = [&](std::int64_t i) {
    // Unsigned: (2i + 1) × S needs all 64 bits for the largest blocks.
    const auto j = static_cast<std::int64_t>((2 * static_cast<std::uint64_t>(i) + 1) * static_cast<std::uint64_t>(S) /
                                             (2 * static_cast<std::uint64_t>(D)));
    return s_extent > 0 ? s0 + j : s0 - j;
  };
  const auto readable = [&](std::int64_t i) {
    const std::int64_t s = source_at(i);
    return s >= 0 && s < s_limit;
  };
  while (lo < hi && !readable(lo)) ++lo;
  while (lo < hi && !readable(hi - 1)) --hi;
  if (lo >= hi) return false;
  map.resize(static_cast<std::size_t>(hi - lo));
  for (std::int64_t i = lo; i < hi; ++i) {
    const auto k = static_cast<std::size_t>(d_extent > 0 ? i - lo : hi - 1 - i);
    map[k] = static_cast<int>(source_at(i));
  }
  first = static_cast<int>(d_extent > 0 ? d0 + lo : d0 - (hi - 1));
  return true;
}

}  // namespace

void Blit(Bitmap& dest, int dx, int dy, int width, int height, const Bitmap& source, int sx, int sy) {
  if (width <= 0 || height <= 0) return;
  const Point o = dest.drawing_state().origin;
  // dest pixel = source pixel + (ox, oy)
  const std::int64_t ox = std::int64_t{dx} + o.X - sx, oy = std::int64_t{dy} + o.Y - sy;
  const Rect from = CutToBitmap(source, sx, sy, std::int64_t{sx} + width, std::int64_t{sy} + height);
  if (from.is_empty()) return;
  const Rect area = CutToBitmap(dest, from.Left + ox, from.Top + oy, from.Right + ox, from.Bottom + oy);
  std::vector<Rect> pieces;
  ClipPieces(dest, area, pieces);
  if (pieces.empty()) return;

  const int ix = static_cast<int>(ox), iy = static_cast<int>(oy);
  const Rect& only = pieces.front();
  if (pieces.size() == 1 && ix == 0 && only.Left == 0 && only.Right == dest.width() &&
      dest.width() == source.width()) {
    // Whole rows of equal width lie back to back: one move for the block.
    std::memmove(dest.scanline(only.Bottom - 1), source.scanline(only.Bottom - 1 - iy),
                 static_cast<std::size_t>(only.width()) * only.height() * sizeof(Pixel));
    return;
  }
  if (&dest != &source) {
    // Bottom-up walks the memory of both bitmaps forwards.
    ForEachRow(pieces, true, false, [&](int y, const Rect& p) {
      std::memcpy(dest.scanline(y) + p.Left, source.scanline(y - iy) + (p.Left - ix),
                  static_cast<std::size_t>(p.width()) * sizeof(Pixel));
    });
    return;
  }
  ForEachRow(pieces, iy > 0, iy == 0 && ix > 0, [&](int y, const Rect& p) {
    std::memmove(dest.scanline(y) + p.Left, source.scanline(y - iy) + (p.Left - ix),
                 static_cast<std::size_t>(p.width()) * sizeof(Pixel));
  });
}

void StretchBlit(Bitmap& dest, int dx, int dy, int dw, int dh, const Bitmap& source, int sx, int sy,
                 int sw, int sh) {
  if (dw == 0 || dh == 0 || sw == 0 || sh == 0) return;
  if (dw == sw && dh == sh && dw > 0 && dh > 0) {
    // Same size, not mirrored: a plain copy, which also moves overlapping blocks in place.
    Blit(dest, dx, dy, dw, dh, source, sx, sy);
    return;
  }
  const Point o = dest.drawing_state().origin;
  std::vector<int> xmap, ymap;
  int left = 0, top = 0;
  if (!MapAxis(std::int64_t{dx} + o.X, dw, dest.width(), sx, sw, source.width(), left, xmap) ||
      !MapAxis(std::int64_t{dy} + o.Y, dh, dest.height(), sy, sh, source.height(), top, ymap)) {
    return;
  }
  const Rect area{left, top, left + static_cast<int>(xmap.size()), top + static_cast<int>(ymap.size())};
  std::vector<Rect> pieces;
  ClipPieces(dest, area, pieces);
  if (pieces.empty()) return;

  const Bitmap* from = &source;
  Bitmap copy;
  if (&dest == &source) {
    // Read the whole source block before anything is written: take the part the maps use.
    const auto [x0, x1] = std::minmax_element(xmap.begin(), xmap.end());
    const auto [y0, y1] = std::minmax_element(ymap.begin(), ymap.end());
    const int cx = *x0, cy = *y0;
    copy = Bitmap(*x1 - cx + 1, *y1 - cy + 1);
    for (int y = 0; y < copy.height(); ++y) {
      std::memcpy(copy.scanline(y), source.scanline(cy + y) + cx, static_cast<std::size_t>(copy.width()) * sizeof(Pixel));
    }
    for (int& x : xmap) x -= cx;
    for (int& y : ymap) y -= cy;
    from = &copy;
  }

  // Equal widths map columns one to one, forwards or mirrored.
  const bool one_to_one = std::int64_t{dw} == sw || std::int64_t{dw} == -std::int64_t{sw};
  const bool forwards = (dw > 0) == (sw > 0);
  // Bottom-up walks the memory forwards; the source is never dest here (see the copy above).
  ForEachRow(pieces, true, false, [&](int y, const Rect& p) {
    const auto row = static_cast<std::size_t>(y - area.Top);
    Pixel* d = dest.scanline(y) + p.Left;
    const int n = p.width();
    if (y + 1 < p.Bottom && ymap[row] == ymap[row + 1]) {
      // A repeated source row: the row below, drawn just before, already holds it.
      std::memcpy(d, dest.scanline(y + 1) + p.Left, static_cast<std::size_t>(n) * sizeof(Pixel));
      return;
    }
    const Pixel* s = from->scanline(ymap[row]);
    const int* m = xmap.data() + (p.Left - area.Left);
    if (one_to_one && forwards) {
      std::memcpy(d, s + m[0], static_cast<std::size_t>(n) * sizeof(Pixel));
    } else if (one_to_one) {
      ReverseRow(d, s + m[0], n);
    } else {
      GatherRow(d, s, m, n);
    }
  });
}

void FillRect(Bitmap& dest, const Rect& rect, Pixel color) {
  if (rect.is_empty()) return;
  const Point o = dest.drawing_state().origin;
  const Rect area = CutToBitmap(dest, std::int64_t{rect.Left} + o.X, std::int64_t{rect.Top} + o.Y,
                                std::int64_t{rect.Right} + o.X, std::int64_t{rect.Bottom} + o.Y);
  std::vector<Rect> pieces;
  ClipPieces(dest, area, pieces);
  ForEachRow(pieces, false, false, [&](int y, const Rect& p) {
    std::fill_n(dest.scanline(y) + p.Left, p.width(), color);
  });
}

void FillRegion(Bitmap& dest, const Region& region, Pixel color) {
  const Point o = dest.drawing_state().origin;
  const Region area = region.translated(o.X, o.Y).intersected(Surface(dest).drawable());
  ForEachRow(area.rects(), false, false, [&](int y, const Rect& p) {
    std::fill_n(dest.scanline(y) + p.Left, p.width(), color);
  });
}

void FrameRect(Bitmap& dest, const Rect& rect, int pen_width, Pixel color) {
  if (rect.is_empty() || pen_width <= 0) return;
  const std::int64_t l = rect.Left, t = rect.Top, r = rect.Right, b = rect.Bottom;
  // The pen's inner edge, kept inside the rectangle.
  const auto in_x = [&](std::int64_t v) { return static_cast<int>(std::clamp(v, l, r)); };
  const auto in_y = [&](std::int64_t v) { return static_cast<int>(std::clamp(v, t, b)); };
  const int inner_top = in_y(t + pen_width), inner_bottom = std::max(in_y(b - pen_width), inner_top);
  const int inner_left = in_x(l + pen_width), inner_right = std::max(in_x(r - pen_width), inner_left);
  FillRect(dest, {rect.Left, rect.Top, rect.Right, inner_top}, color);
  FillRect(dest, {rect.Left, inner_bottom, rect.Right, rect.Bottom}, color);
  FillRect(dest, {rect.Left, inner_top, inner_left, inner_bottom}, color);
  FillRect(dest, {inner_right, inner_top, rect.Right, inner_bottom}, color);
}

}  // namespace pavona::raster
