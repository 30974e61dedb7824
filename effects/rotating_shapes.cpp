#include "effects/rotating_shapes.h"

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "raster/geometry.h"
#include "raster/region.h"
#include "transition/random.h"
#include "transition/region_helpers.h"

namespace pavona::effects {

namespace {

using transition::TEffectFrame;

constexpr double kPi = std::numbers::pi;

// Nearest integer, ties to even (the default rounding mode).
int Round(double v) { return static_cast<int>(std::nearbyint(v)); }

// The smallest integer whose square is at least s.
std::int64_t CeilSqrt(std::int64_t s) {
  auto r = static_cast<std::int64_t>(std::sqrt(static_cast<double>(s)));
  while (r * r < s) ++r;
  while (r > 0 && (r - 1) * (r - 1) >= s) --r;
  return r;
}

// A pie of the circle of radius R about (CX, CY): the centre, then Count points at the angles
// Start + i × (End − Start) / Count for i = 0 to Count − 1, so the last lies one step short of
// End. With Count <= 1 the polygon has no area.
raster::Region ArcPolygonRegion(int CX, int CY, int R, double Start, double End, int Count) {
  std::vector<std::int32_t> coords{CX, CY};
  coords.reserve(2 + 2 * static_cast<std::size_t>(Count));
  for (int i = 0; i < Count; ++i) {
    const double angle = Start + i * (End - Start) / Count;
    coords.push_back(CX + Round(R * std::cos(angle)));
    coords.push_back(CY + Round(R * std::sin(angle)));
  }
  return transition::MakePolygonRegion(coords);
}

// Turns every point about (CX, CY) by Angle; with y downwards a growing angle turns clockwise.
void RotatePoints(std::vector<raster::Point>& Points, int CX, int CY, double Angle) {
  const double c = std::cos(Angle), s = std::sin(Angle);
  for (raster::Point& p : Points) {
    const int dx = p.X - CX, dy = p.Y - CY;
    p = {CX + Round(dx * c - dy * s), CY + Round(dx * s + dy * c)};
  }
}

void Sweep(const TEffectFrame& f, double direction) {
  const int cx = f.W / 2, cy = f.H / 2;
  const auto R = static_cast<int>(CeilSqrt(std::int64_t{cx} * cx + std::int64_t{cy} * cy));
  const double start = -kPi / 2;
  const double end = direction * f.Progress * kPi / 50 - kPi / 2;
  transition::CopyThroughRegion(f.Display, f.Image, f.W, f.H,
                                ArcPolygonRegion(cx, cy, R, start, end, f.Progress));
}

// One full turn over the transition. The seed identifies the transition's new picture: its parity
// fixes the direction for the transition and varies it between pictures.
double TurnAngle(const TEffectFrame& f) {
  const double theta = f.Progress * kPi / 50;
  return (transition::RandomSeed & 1u) != 0 ? -theta : theta;
}

void ShowTurned(const TEffectFrame& f, std::vector<raster::Point> vertices, int CX, int CY) {
  RotatePoints(vertices, CX, CY, TurnAngle(f));
  std::vector<std::int32_t> coords;
  coords.reserve(2 * vertices.size());
  for (const raster::Point& p : vertices) coords.insert(coords.end(), {p.X, p.Y});
  transition::CopyThroughRegion(f.Display, f.Image, f.W, f.H, transition::MakePolygonRegion(coords));
}

// The X × Y rectangle (rounded down to even halves) centred on the picture.
std::vector<raster::Point> CentredRectangle(const TEffectFrame& f) {
  const int hw = f.W / 2, hh = f.H / 2, hx = f.X / 2, hy = f.Y / 2;
  return {{hw - hx, hh - hy}, {hw + hx, hh - hy}, {hw + hx, hh + hy}, {hw - hx, hh + hy}};
}

}  // namespace

void SweepClockwise(const TEffectFrame& f) { Sweep(f, 1); }

void SweepAnticlockwise(const TEffectFrame& f) { Sweep(f, -1); }

void RotationalRectangle(const TEffectFrame& f) {
  ShowTurned(f, CentredRectangle(f), f.W / 2, f.H / 2);
}

// Tips at twice X left and right and twice Y up and down, waist at the corners of the rectangle.
void RotationalStar(const TEffectFrame& f) {
  const int hw = f.W / 2, hh = f.H / 2, hx = f.X / 2, hy = f.Y / 2;
  ShowTurned(f,
             {{hw - 2 * f.X, hh}, {hw - hx, hh - hy}, {hw, hh - 2 * f.Y}, {hw + hx, hh - hy},
              {hw + 2 * f.X, hh}, {hw + hx, hh + hy}, {hw, hh + 2 * f.Y}, {hw - hx, hh + hy}},
             hw, hh);
}

// The rectangle turns about (X, Y), which travels from the top-left corner to the bottom-right.
void SpiralRectangle(const TEffectFrame& f) { ShowTurned(f, CentredRectangle(f), f.X, f.Y); }

}  // namespace pavona::effects
