#include "pictures/metafile_canvas.h"

#include <algorithm>
#include <cmath>

namespace pavona::pictures {

namespace {

using raster::Pixel;
using raster::Point;
using raster::Rect;
using raster::Region;

constexpr Pixel kColourBits = 0x00FFFFFF;
constexpr int kCopyPen = 13;
constexpr std::uint32_t kSrcCopy = 0x00CC0020;

}  // namespace

Pixel TFill::At(int x, int y) const {
  if (Kind == TKind::Pattern && Pattern && !Pattern->is_empty()) {
    const int w = Pattern->width(), h = Pattern->height();
    const int px = ((x - PatternOrigin.X) % w + w) % w;
    const int py = ((y - PatternOrigin.Y) % h + h) % h;
    return Pattern->pixel(px, py) & kColourBits;
  }
  if (Kind == TKind::Hatch && !Covers(x, y)) return Background;
  return Colour;
}

bool TFill::Covers(int x, int y) const {
  if (Kind != TKind::Hatch || OpaqueBackground) return true;
  const int hx = x & 7, hy = y & 7;
  switch (Hatch) {
    case 0: return hy == 0;                                 // horizontal
    case 1: return hx == 0;                                 // vertical
    case 2: return hx == hy;                                // \ downward
    case 3: return hx == 7 - hy;                            // / upward
    case 4: return hx == 0 || hy == 0;                      // cross
    default: return hx == hy || hx == 7 - hy;               // diagonal cross
  }
}

void TDash::Advance() {
  if (Lengths.empty()) return;
  if (++Done >= Lengths[Index % Lengths.size()]) {
    Done = 0;
    Index = (Index + 1) % Lengths.size();
  }
}

Pixel Mix(int mode, Pixel p, Pixel d) {
  // Mix modes run from 1 to 16; anything else is taken as the plain copy.
  if (mode == kCopyPen || mode < 1 || mode > 16) return p;
  // The mode less one is a truth table over (pen bit, destination bit).
  const unsigned table = static_cast<unsigned>(mode - 1) & 15;
  Pixel result = 0;
  for (unsigned i = 0; i < 4; ++i) {
    if (!((table >> i) & 1)) continue;
    result |= ((i & 2) ? p : ~p) & ((i & 1) ? d : ~d);
  }
  return result & kColourBits;
}

Pixel Rop3(std::uint32_t rop, Pixel p, Pixel s, Pixel d) {
  const unsigned table = (rop >> 16) & 0xFF;
  switch (table) {
    case 0xCC: return s;
    case 0xF0: return p;
    case 0xAA: return d;
    case 0x00: return 0;
    case 0xFF: return kColourBits;
    default: break;
  }
  Pixel result = 0;
  for (unsigned i = 0; i < 8; ++i) {
    if (!((table >> i) & 1)) continue;
    result |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
  }
  return result & kColourBits;
}

TMetafileCanvas::TMetafileCanvas(raster::Bitmap& target, const Rect& area)
    : FTarget(target), FArea(area.intersected(target.bounds())), FClip(FArea) {}

void TMetafileCanvas::SetClip(const Region* clip) {
  FClip = clip ? clip->intersected(FArea) : Region(FArea);
}

void TMetafileCanvas::Put(Pixel* row, int x, Pixel colour) const {
  row[x] = (FMixMode == kCopyPen ? colour : Mix(FMixMode, colour, row[x] & kColourBits)) |
           (row[x] & ~kColourBits);
}

void TMetafileCanvas::Fill(const Region& region, const TFill& fill) {
  const Region area = region.intersected(FClip);
  const bool plain = fill.Kind == TFill::TKind::Solid && FMixMode == kCopyPen;
  for (const Rect& r : area.rects()) {
    for (int y = r.Top; y < r.Bottom; ++y) {
      Pixel* row = FTarget.scanline(y);
      if (plain) {
        for (int x = r.Left; x < r.Right; ++x) row[x] = fill.Colour | (row[x] & ~kColourBits);
        continue;
      }
      for (int x = r.Left; x < r.Right; ++x) {
        if (fill.Covers(x, y)) Put(row, x, fill.At(x, y));
      }
    }
  }
}

Region TMetafileCanvas::PolygonRegion(std::span<const TContour> contours, raster::FillMode mode,
                                      bool toClip) const {
  const Region area(FArea);
  const Region& limit = toClip ? FClip : area;
  const Rect box = limit.bounds();
  if (box.is_empty()) return {};
  const double margin = 2;
  // Several contours become one outline: each is entered from and left back to one anchor
  // point along the same line, so the bridges cancel in both fill modes.
  std::vector<Point> outline;
  Point anchor{};
  bool first = true;
  for (const TContour& contour : contours) {
    const TContour clipped = ClipContour(contour, box.Left - margin, box.Top - margin,
                                         box.Right + margin, box.Bottom + margin);
    if (clipped.size() < 3) continue;
    std::vector<Point> points;
    points.reserve(clipped.size());
    for (const TPointF& p : clipped) points.push_back({ToPixel(p.X), ToPixel(p.Y)});
    if (first) {
      anchor = points.front();
      first = false;
    } else {
      outline.push_back(anchor);
    }
    outline.insert(outline.end(), points.begin(), points.end());
    outline.push_back(points.front());
  }
  if (outline.size() < 3) return {};
  return Region::FromPolygon(outline, mode).intersected(limit);
}

void TMetafileCanvas::Plot(int x, int y, Pixel colour) {
  if (FClip.contains(x, y)) Put(FTarget.scanline(y), x, colour);
}

void TMetafileCanvas::Line(TPointF a, TPointF b, Pixel colour, TDash& dash) {
  // Cut the segment to a little more than the clip box first, so a long line costs only the
  // pixels that can be seen.
  const Rect box = FClip.bounds();
  if (box.is_empty()) return;
  const double left = box.Left - 2, top = box.Top - 2, right = box.Right + 2,
               bottom = box.Bottom + 2;
  double t0 = 0, t1 = 1;
  const double dx = b.X - a.X, dy = b.Y - a.Y;
  const auto cut = [&](double p, double q) {
    if (p == 0) return q >= 0;
    const double r = q / p;
    if (p < 0) {
      if (r > t1) return false;
      t0 = std::max(t0, r);
    } else {
      if (r < t0) return false;
      t1 = std::min(t1, r);
    }
    return true;
  };
  if (!(cut(-dx, a.X - left) && cut(dx, right - a.X) && cut(-dy, a.Y - top) &&
        cut(dy, bottom - a.Y))) {
    return;
  }
  const bool whole = t1 >= 1;
  int x0 = ToPixel(a.X + dx * t0), y0 = ToPixel(a.Y + dy * t0);
  const int x1 = ToPixel(a.X + dx * t1), y1 = ToPixel(a.Y + dy * t1);
  const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  const long long adx = std::llabs(static_cast<long long>(x1) - x0);
  const long long ady = std::llabs(static_cast<long long>(y1) - y0);
  long long err = adx - ady;
  // The last point belongs to the next segment; a cut line draws through it.
  for (long long steps = std::max(adx, ady) + (whole ? 0 : 1); steps > 0; --steps) {
    if (dash.On()) Plot(x0, y0, colour);
    dash.Advance();
    const long long e2 = 2 * err;
    if (e2 > -ady) {
      err -= ady;
      x0 += sx;
    }
    if (e2 < adx) {
      err += adx;
      y0 += sy;
    }
  }
}

void TMetafileCanvas::DrawImage(const TImageDraw& d) {
  const double det = d.AlongX.X * d.AlongY.Y - d.AlongX.Y * d.AlongY.X;
  if (!(std::fabs(det) > 1e-12) || !std::isfinite(det)) return;
  const TPointF c[4] = {d.Corner,
                        {d.Corner.X + d.AlongX.X, d.Corner.Y + d.AlongX.Y},
                        {d.Corner.X + d.AlongY.X, d.Corner.Y + d.AlongY.Y},
                        {d.Corner.X + d.AlongX.X + d.AlongY.X,
                         d.Corner.Y + d.AlongX.Y + d.AlongY.Y}};
  double minX = c[0].X, maxX = c[0].X, minY = c[0].Y, maxY = c[0].Y;
  for (const TPointF& p : c) {
    minX = std::min(minX, p.X);
    maxX = std::max(maxX, p.X);
    minY = std::min(minY, p.Y);
    maxY = std::max(maxY, p.Y);
  }
  const Rect box = Rect{ToPixel(minX) - 1, ToPixel(minY) - 1, ToPixel(maxX) + 1,
                        ToPixel(maxY) + 1}
                       .intersected(FClip.bounds());
  if (box.is_empty()) return;
  const Region area = FClip.intersected(box);
  const raster::Bitmap* image = d.Image;
  const bool copy = d.ConstantAlpha < 0 && (d.Rop == kSrcCopy) && image;
  for (const Rect& r : area.rects()) {
    for (int y = r.Top; y < r.Bottom; ++y) {
      Pixel* row = FTarget.scanline(y);
      for (int x = r.Left; x < r.Right; ++x) {
        const double qx = x + 0.5 - d.Corner.X, qy = y + 0.5 - d.Corner.Y;
        const double u = (qx * d.AlongY.Y - qy * d.AlongY.X) / det;
        const double v = (d.AlongX.X * qy - d.AlongX.Y * qx) / det;
        if (u < 0 || u >= 1 || v < 0 || v >= 1) continue;
        Pixel s = 0;
        if (image) {
          const double fx = d.Sx + u * d.Sw, fy = d.Sy + v * d.Sh;
          const double col = d.Sw >= 0 ? std::floor(fx) : std::ceil(fx);
          const double line = d.Sh >= 0 ? std::floor(fy) : std::ceil(fy);
          if (col < 0 || line < 0 || col >= image->width() || line >= image->height()) continue;
          s = image->pixel(static_cast<int>(col), static_cast<int>(line));
        }
        const Pixel below = row[x] & kColourBits;
        Pixel result;
        if (copy) {
          result = s & kColourBits;
        } else if (d.ConstantAlpha >= 0) {
          // Source pixels with alpha are premultiplied, as a blending record stores them.
          const unsigned ca = static_cast<unsigned>(d.ConstantAlpha);
          const unsigned a = d.PixelAlpha ? ((s >> 24) * ca + 127) / 255 : ca;
          result = 0;
          for (int shift = 0; shift < 24; shift += 8) {
            const unsigned sc = ((s >> shift) & 0xFF) * ca / 255;
            const unsigned dc = (below >> shift) & 0xFF;
            const unsigned value = d.PixelAlpha ? std::min(255u, sc + dc * (255 - a) / 255)
                                                : (sc * 255 + dc * (255 - a)) / 255;
            result |= std::min(value, 255u) << shift;
          }
        } else {
          const Pixel p = d.Brush ? d.Brush->At(x, y) : 0;
          result = Rop3(d.Rop, p, s & kColourBits, below);
        }
        row[x] = result | (row[x] & ~kColourBits);
      }
    }
  }
}

}  // namespace pavona::pictures
