// Geometry of metafile playback in floating point: points, the affine transforms that take
// logical coordinates to bitmap pixels, and the flattening of curves into polylines.
#pragma once

#include <cmath>
#include <vector>

namespace pavona::pictures {

struct TPointF {
  double X = 0;
  double Y = 0;
};

// The length of the vector (x, y). Not std::hypot: glibc 2.35 gave hypot a new symbol version,
// and the player must run on older systems.
inline double VectorLength(double x, double y) { return std::sqrt(x * x + y * y); }

// x' = x * M11 + y * M21 + Dx, y' = x * M12 + y * M22 + Dy (the layout of a world transform).
struct TMatrix {
  double M11 = 1, M12 = 0, M21 = 0, M22 = 1, Dx = 0, Dy = 0;

  TPointF Map(TPointF p) const { return {p.X * M11 + p.Y * M21 + Dx, p.X * M12 + p.Y * M22 + Dy}; }
  // Maps a vector: the linear part alone.
  TPointF MapVector(TPointF v) const { return {v.X * M11 + v.Y * M21, v.X * M12 + v.Y * M22}; }
  // This transform followed by next.
  TMatrix Then(const TMatrix& next) const;
  double Determinant() const { return M11 * M22 - M12 * M21; }
  // The geometric mean of the two scale factors: how a pen width grows.
  double Scale() const;
  bool IsAxisAligned() const { return M12 == 0 && M21 == 0; }
  bool IsFinite() const;
  static TMatrix Scaling(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
  static TMatrix Translation(double dx, double dy) { return {1, 0, 0, 1, dx, dy}; }
};

using TContour = std::vector<TPointF>;

// The pixel coordinate nearest to v, held far inside the int range (where nothing is drawn
// anyway) so that later integer geometry cannot overflow.
int ToPixel(double v);

// Appends the points of the cubic curve from p0 (not appended) through p1 and p2 to p3, fine
// enough that no chord is off the curve by more than a fraction of a pixel.
void AppendBezier(TContour& out, TPointF p0, TPointF p1, TPointF p2, TPointF p3);

// Appends points of the elliptic arc of centre and radii (logical), from angle start through
// sweep (radians, counter-clockwise as seen with y down), mapped by m; first point included.
void AppendArc(TContour& out, TPointF centre, double rx, double ry, double start, double sweep,
               const TMatrix& m);

// The angle of the ray from centre through p on the ellipse of radii rx, ry, counter-clockwise
// as seen with y down.
double EllipseAngle(TPointF centre, double rx, double ry, TPointF p);

// The part of a closed contour inside the rectangle (Sutherland-Hodgman). Used with a rectangle
// a little larger than what can be drawn, so the winding of every drawable pixel is kept.
TContour ClipContour(const TContour& contour, double left, double top, double right,
                     double bottom);

}  // namespace pavona::pictures
