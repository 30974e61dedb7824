#include "pictures/metafile_geometry.h"

#include <algorithm>
#include <cmath>

namespace pavona::pictures {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Enough for a smooth curve across a large picture, few enough that a file of many curves
// cannot make many times its size in points.
constexpr int kMaxCurveSegments = 256;

double Distance(TPointF a, TPointF b) { return VectorLength(b.X - a.X, b.Y - a.Y); }

}  // namespace

int ToPixel(double v) {
  constexpr double kLimit = 1 << 26;
  if (!(v > -kLimit)) return static_cast<int>(-kLimit);
  if (!(v < kLimit)) return static_cast<int>(kLimit);
  return static_cast<int>(std::floor(v + 0.5));
}

TMatrix TMatrix::Then(const TMatrix& n) const {
  return {M11 * n.M11 + M12 * n.M21, M11 * n.M12 + M12 * n.M22,
          M21 * n.M11 + M22 * n.M21, M21 * n.M12 + M22 * n.M22,
          Dx * n.M11 + Dy * n.M21 + n.Dx, Dx * n.M12 + Dy * n.M22 + n.Dy};
}

double TMatrix::Scale() const { return std::sqrt(std::fabs(Determinant())); }

bool TMatrix::IsFinite() const {
  return std::isfinite(M11) && std::isfinite(M12) && std::isfinite(M21) && std::isfinite(M22) &&
         std::isfinite(Dx) && std::isfinite(Dy);
}

void AppendBezier(TContour& out, TPointF p0, TPointF p1, TPointF p2, TPointF p3) {
  const double length = Distance(p0, p1) + Distance(p1, p2) + Distance(p2, p3);
  const int segments =
      std::isfinite(length) ? std::clamp(static_cast<int>(std::sqrt(length) * 2), 1,
                                         kMaxCurveSegments)
                            : 1;
  for (int i = 1; i <= segments; ++i) {
    const double t = static_cast<double>(i) / segments;
    const double u = 1 - t;
    const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
    out.push_back({a * p0.X + b * p1.X + c * p2.X + d * p3.X,
                   a * p0.Y + b * p1.Y + c * p2.Y + d * p3.Y});
  }
}

void AppendArc(TContour& out, TPointF centre, double rx, double ry, double start, double sweep,
               const TMatrix& m) {
  // A chord of angle a on a circle of radius r strays r * a * a / 8 from it; a quarter pixel
  // at the largest radius the transform gives.
  const double radius = std::max(std::fabs(rx), std::fabs(ry)) *
                        std::max(VectorLength(m.M11, m.M12), VectorLength(m.M21, m.M22));
  const double step = radius > 2 ? std::sqrt(2.0 / radius) : kPi / 4;
  int segments = std::isfinite(sweep / step) ? static_cast<int>(std::ceil(std::fabs(sweep) / step))
                                             : 1;
  segments = std::clamp(segments, 1, kMaxCurveSegments);
  for (int i = 0; i <= segments; ++i) {
    const double angle = start + sweep * i / segments;
    out.push_back(m.Map({centre.X + rx * std::cos(angle), centre.Y - ry * std::sin(angle)}));
  }
}

double EllipseAngle(TPointF centre, double rx, double ry, TPointF p) {
  const double x = rx != 0 ? (p.X - centre.X) / rx : 0;
  const double y = ry != 0 ? (centre.Y - p.Y) / ry : 0;
  return x == 0 && y == 0 ? 0 : std::atan2(y, x);
}

TContour ClipContour(const TContour& contour, double left, double top, double right,
                     double bottom) {
  TContour current = contour;
  TContour next;
  // One pass per edge: keep the points inside it and the crossings of the edges that leave it.
  for (int edge = 0; edge < 4 && !current.empty(); ++edge) {
    const auto inside = [&](TPointF p) {
      switch (edge) {
        case 0: return p.X >= left;
        case 1: return p.X <= right;
        case 2: return p.Y >= top;
        default: return p.Y <= bottom;
      }
    };
    const auto cross = [&](TPointF a, TPointF b) {
      double t = 0;
      switch (edge) {
        case 0: t = (left - a.X) / (b.X - a.X); break;
        case 1: t = (right - a.X) / (b.X - a.X); break;
        case 2: t = (top - a.Y) / (b.Y - a.Y); break;
        default: t = (bottom - a.Y) / (b.Y - a.Y); break;
      }
      TPointF p{a.X + (b.X - a.X) * t, a.Y + (b.Y - a.Y) * t};
      // Exact on the edge, so rounding cannot put the point back outside.
      if (edge == 0) p.X = left;
      if (edge == 1) p.X = right;
      if (edge == 2) p.Y = top;
      if (edge == 3) p.Y = bottom;
      return p;
    };
    next.clear();
    for (std::size_t i = 0; i < current.size(); ++i) {
      const TPointF a = current[i];
      const TPointF b = current[(i + 1) % current.size()];
      const bool ia = inside(a), ib = inside(b);
      if (ia) next.push_back(a);
      if (ia != ib) next.push_back(cross(a, b));
    }
    std::swap(current, next);
  }
  return current;
}

}  // namespace pavona::pictures
