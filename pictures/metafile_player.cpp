#include "pictures/metafile_player.h"

#include <algorithm>
#include <cmath>

#include "pictures/metafile_text.h"

namespace pavona::pictures {

namespace {

using raster::Pixel;
using raster::Rect;
using raster::Region;

constexpr double kPi = 3.14159265358979323846;
// Saves beyond this are ignored, so a file cannot pile up copies of the state without bound.
constexpr std::size_t kMaxSaves = 256;
// Shapes larger than this in pixels are drawn as polygons, which are cut to the drawable area
// first; the region shapes would walk every row of them.
constexpr int kMaxShapeSide = 1 << 15;
// A path takes no more points than this; later figures are left out of it.
constexpr std::size_t kMaxPathPoints = 1 << 22;

double Orientation(const TContour& c) {
  double area = 0;
  for (std::size_t i = 0; i < c.size(); ++i) {
    const TPointF a = c[i], b = c[(i + 1) % c.size()];
    area += a.X * b.Y - b.X * a.Y;
  }
  return area;
}

// A regular polygon around a point, the round join or cap of a wide pen.
TContour Disc(TPointF centre, double radius) {
  const int n = std::clamp(static_cast<int>(radius * 2), 8, 32);
  TContour disc;
  for (int i = 0; i < n; ++i) {
    const double a = 2 * kPi * i / n;
    disc.push_back({centre.X + radius * std::cos(a), centre.Y + radius * std::sin(a)});
  }
  return disc;
}

Rect Shrunk(const Rect& r, int by) { return {r.Left + by, r.Top + by, r.Right - by, r.Bottom - by}; }

bool Small(const Rect& r) {
  return r.width() <= kMaxShapeSide && r.height() <= kMaxShapeSide && r.Left > -kMaxShapeSide &&
         r.Top > -kMaxShapeSide && r.Right < 2 * kMaxShapeSide && r.Bottom < 2 * kMaxShapeSide;
}

}  // namespace

Pixel ColourOf(std::uint32_t c) {
  return raster::MakePixel(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

TMetafilePlayer::TMetafilePlayer(raster::Bitmap& target, const Rect& area,
                                 const TMatrix& deviceToOutput, TPointF devicePx,
                                 TPointF deviceMm, std::size_t objectCount)
    : FCanvas(target, area),
      FDeviceToOutput(deviceToOutput),
      FDevicePx(devicePx),
      FDeviceMm(deviceMm),
      FObjects(objectCount) {
  FState.Brush = {kBsSolid, 0x00FFFFFF, 0, nullptr};
}

TMetafilePlayer::~TMetafilePlayer() = default;

TMatrix TMetafilePlayer::Transform() const {
  const TDcState& s = FState;
  double sx = 1, sy = 1;
  const auto metric = [&](double unitMm) {
    sx = FDeviceMm.X > 0 ? unitMm * FDevicePx.X / FDeviceMm.X : 1;
    sy = FDeviceMm.Y > 0 ? -unitMm * FDevicePx.Y / FDeviceMm.Y : -1;
  };
  switch (s.MapMode) {
    case kMmLoMetric: metric(0.1); break;
    case kMmHiMetric: metric(0.01); break;
    case kMmLoEnglish: metric(0.254); break;
    case kMmHiEnglish: metric(0.0254); break;
    case kMmTwips: metric(25.4 / 1440); break;
    case kMmIsotropic:
    case kMmAnisotropic:
      sx = s.ViewportExt.X / s.WindowExt.X;
      sy = s.ViewportExt.Y / s.WindowExt.Y;
      if (s.MapMode == kMmIsotropic) {
        // The smaller scale for both axes, each keeping its sign.
        const double m = std::min(std::fabs(sx), std::fabs(sy));
        sx = std::copysign(m, sx);
        sy = std::copysign(m, sy);
      }
      break;
    default: break;
  }
  const TMatrix page{sx, 0, 0, sy, s.ViewportOrg.X - s.WindowOrg.X * sx,
                     s.ViewportOrg.Y - s.WindowOrg.Y * sy};
  return s.World.Then(page).Then(FDeviceToOutput);
}

std::optional<std::size_t> TMetafilePlayer::FreeSlot() const {
  for (std::size_t i = 0; i < FObjects.size(); ++i) {
    if (std::holds_alternative<std::monostate>(FObjects[i])) return i;
  }
  return std::nullopt;
}

void TMetafilePlayer::StoreObject(std::size_t index, TObject object) {
  if (index < FObjects.size()) FObjects[index] = std::move(object);
}

void TMetafilePlayer::SelectObject(std::size_t index) {
  if (index >= FObjects.size()) return;
  const TObject& object = FObjects[index];
  if (const auto* pen = std::get_if<TPen>(&object)) FState.Pen = *pen;
  if (const auto* brush = std::get_if<TBrush>(&object)) FState.Brush = *brush;
  if (const auto* font = std::get_if<TFont>(&object)) FState.Font = *font;
  if (const auto* region = std::get_if<TRegionObject>(&object)) {
    CombineClip(LogicalRegion(*region), kRgnCopy);
  }
}

void TMetafilePlayer::SelectStockObject(std::uint32_t stock) {
  static constexpr Pixel kGreys[] = {0xFFFFFF, 0xC0C0C0, 0x808080, 0x404040, 0x000000};
  switch (stock) {
    case 0: case 1: case 2: case 3: case 4:
      FState.Brush = {kBsSolid, kGreys[stock], 0, nullptr};
      break;
    case 18: FState.Brush = {kBsSolid, 0xFFFFFF, 0, nullptr}; break;  // DC brush
    case 5: FState.Brush = {kBsNull, 0, 0, nullptr}; break;
    case 6: FState.Pen = {kPsSolid, 0, true, 0xFFFFFF, {}}; break;
    case 7: case 19: FState.Pen = {kPsSolid, 0, true, 0, {}}; break;
    case 8: FState.Pen = {kPsNull, 0, true, 0, {}}; break;
    case 10: case 11: case 12: case 13: case 14: case 16: case 17:
      FState.Font = TFont{};
      break;
    default: break;
  }
}

void TMetafilePlayer::DeleteObject(std::size_t index) {
  // What is selected stays in use: the state holds its own copy, as a device context keeps a
  // selected object alive.
  if (index < FObjects.size()) FObjects[index] = std::monostate{};
}

void TMetafilePlayer::SaveState() {
  if (FSaved.size() < kMaxSaves) FSaved.push_back(FState);
}

void TMetafilePlayer::RestoreState(int level) {
  std::size_t keep = 0;
  if (level < 0) {
    const std::size_t back = static_cast<std::size_t>(-static_cast<long long>(level));
    if (back > FSaved.size()) return;
    keep = FSaved.size() - back;
  } else {
    if (level == 0 || static_cast<std::size_t>(level) > FSaved.size()) return;
    keep = static_cast<std::size_t>(level) - 1;
  }
  FState = std::move(FSaved[keep]);
  FSaved.resize(keep);
  ModesChanged();
  ClipChanged();
}

TContour TMetafilePlayer::MapAll(std::span<const TPointF> points) const {
  const TMatrix m = Transform();
  TContour out;
  out.reserve(points.size());
  for (const TPointF& p : points) out.push_back(m.Map(p));
  return out;
}

void TMetafilePlayer::ExtendPath(const TContour& points) {
  if (!PathHasRoom(points.size())) return;
  if (!FFigureOpen) {
    FPath.push_back({{Transform().Map(FState.Current)}, false});
    FFigureOpen = true;
  }
  TContour& figure = FPath.back().Points;
  figure.insert(figure.end(), points.begin(), points.end());
}

bool TMetafilePlayer::PathHasRoom(std::size_t points) {
  if (FPathPoints + points > kMaxPathPoints) return false;
  FPathPoints += points;
  return true;
}

void TMetafilePlayer::MoveTo(TPointF p) {
  FState.Current = p;
  FFigureOpen = false;
}

void TMetafilePlayer::LineTo(TPointF p) {
  const TMatrix m = Transform();
  if (FInPath) {
    ExtendPath({m.Map(p)});
  } else {
    Draw({{{m.Map(FState.Current), m.Map(p)}, false}}, false);
  }
  FState.Current = p;
}

void TMetafilePlayer::Polyline(std::span<const TPointF> points, bool fromCurrent) {
  if (points.empty()) return;
  if (fromCurrent) {
    if (FInPath) {
      ExtendPath(MapAll(points));
    } else {
      TContour line{Transform().Map(FState.Current)};
      const TContour rest = MapAll(points);
      line.insert(line.end(), rest.begin(), rest.end());
      Draw({{line, false}}, false);
    }
    FState.Current = points.back();
    return;
  }
  if (FInPath) {
    TContour mapped = MapAll(points);
    FFigureOpen = PathHasRoom(mapped.size());
    if (FFigureOpen) FPath.push_back({std::move(mapped), false});
    FState.Current = points.back();
    return;
  }
  Draw({{MapAll(points), false}}, false);
}

void TMetafilePlayer::PolyBezier(std::span<const TPointF> points, bool fromCurrent) {
  const TMatrix m = Transform();
  TContour curve;
  std::size_t i = 0;
  const TPointF start = FState.Current;
  if (fromCurrent) {
    curve.push_back(m.Map(start));
  } else {
    if (points.empty()) return;
    curve.push_back(m.Map(points[0]));
    i = 1;
  }
  for (; i + 3 <= points.size(); i += 3) {
    AppendBezier(curve, curve.back(), m.Map(points[i]), m.Map(points[i + 1]),
                 m.Map(points[i + 2]));
    FState.Current = points[i + 2];
  }
  if (FInPath) {
    if (fromCurrent) {
      // The figure, if this opens one, starts where the curve does, not where it ends.
      const TPointF end = FState.Current;
      FState.Current = start;
      ExtendPath(TContour(curve.begin() + 1, curve.end()));
      FState.Current = end;
    } else {
      FFigureOpen = PathHasRoom(curve.size());
      if (FFigureOpen) FPath.push_back({curve, false});
    }
    return;
  }
  Draw({{curve, false}}, false);
}

void TMetafilePlayer::PolyPolygon(std::span<const std::vector<TPointF>> polygons) {
  std::vector<TFigure> figures;
  for (const auto& polygon : polygons) {
    if (polygon.size() >= 2) figures.push_back({MapAll(polygon), true});
  }
  Draw(std::move(figures), true);
}

void TMetafilePlayer::PolyPolyline(std::span<const std::vector<TPointF>> polylines) {
  for (const auto& line : polylines) Polyline(line, false);
}

bool TMetafilePlayer::AxisAlignedRect(double l, double t, double r, double b,
                                      Rect& device) const {
  const TMatrix m = Transform();
  if (FInPath || !m.IsAxisAligned() || !m.IsFinite()) return false;
  const TPointF a = m.Map({l, t}), c = m.Map({r, b});
  device = {ToPixel(std::min(a.X, c.X)), ToPixel(std::min(a.Y, c.Y)), ToPixel(std::max(a.X, c.X)),
            ToPixel(std::max(a.Y, c.Y))};
  return Small(device);
}

void TMetafilePlayer::Rectangle(double l, double t, double r, double b) {
  Rect d;
  const bool solidPen = (FState.Pen.Style & kPsStyleMask) == kPsSolid ||
                        (FState.Pen.Style & kPsStyleMask) == kPsInsideFrame;
  if (AxisAlignedRect(l, t, r, b, d) && (PenIsNull() || solidPen)) {
    if (PenIsNull()) {
      // Without a pen the filled area loses its right column and bottom row.
      FillRegion(Region({d.Left, d.Top, d.Right - 1, d.Bottom - 1}), FState.Brush);
      return;
    }
    FillRegion(Region(d), FState.Brush);
    const int w = PenPixels();
    const Rect outer = w == 1 ? d : Shrunk(d, -(w / 2));
    FCanvas.Fill(Region(outer).subtracted(Region(Shrunk(outer, w))),
                 TFill::Solid(FState.Pen.Colour));
    return;
  }
  const TPointF corners[] = {{l, t}, {r, t}, {r, b}, {l, b}};
  Draw({{MapAll(corners), true}}, true);
}

void TMetafilePlayer::Ellipse(double l, double t, double r, double b) {
  Rect d;
  if (AxisAlignedRect(l, t, r, b, d) && (FState.Pen.Style & kPsStyleMask) != kPsDash &&
      (PenIsNull() || (FState.Pen.Style & kPsStyleMask) == kPsSolid)) {
    FillRegion(Region::FromEllipse(d), FState.Brush);
    if (PenIsNull()) return;
    const int w = PenPixels();
    const Rect outer = w == 1 ? d : Shrunk(d, -(w / 2));
    FCanvas.Fill(Region::FromEllipse(outer).subtracted(Region::FromEllipse(Shrunk(outer, w))),
                 TFill::Solid(FState.Pen.Colour));
    return;
  }
  TContour outline;
  AppendArc(outline, {(l + r) / 2, (t + b) / 2}, (r - l) / 2, (b - t) / 2, 0, 2 * kPi,
            Transform());
  outline.pop_back();
  Draw({{outline, true}}, true);
}

void TMetafilePlayer::RoundRect(double l, double t, double r, double b, double cw, double ch) {
  Rect d;
  const TMatrix m = Transform();
  if (AxisAlignedRect(l, t, r, b, d) &&
      (PenIsNull() || (FState.Pen.Style & kPsStyleMask) == kPsSolid)) {
    const int w = ToPixel(std::fabs(cw * m.M11)), h = ToPixel(std::fabs(ch * m.M22));
    FillRegion(Region::FromRoundRect(d, w, h), FState.Brush);
    if (PenIsNull()) return;
    const int pw = PenPixels();
    const Rect outer = pw == 1 ? d : Shrunk(d, -(pw / 2));
    const Rect inner = Shrunk(outer, pw);
    FCanvas.Fill(Region::FromRoundRect(outer, w + (pw / 2) * 2, h + (pw / 2) * 2)
                     .subtracted(Region::FromRoundRect(inner, w - 2 * (pw - pw / 2),
                                                       h - 2 * (pw - pw / 2))),
                 TFill::Solid(FState.Pen.Colour));
    return;
  }
  // Four quarter arcs joined by the straight sides.
  const double rx = std::min(std::fabs(cw) / 2, std::fabs(r - l) / 2);
  const double ry = std::min(std::fabs(ch) / 2, std::fabs(b - t) / 2);
  const double x0 = std::min(l, r), x1 = std::max(l, r), y0 = std::min(t, b), y1 = std::max(t, b);
  TContour outline;
  AppendArc(outline, {x1 - rx, y0 + ry}, rx, ry, 0, kPi / 2, m);
  AppendArc(outline, {x0 + rx, y0 + ry}, rx, ry, kPi / 2, kPi / 2, m);
  AppendArc(outline, {x0 + rx, y1 - ry}, rx, ry, kPi, kPi / 2, m);
  AppendArc(outline, {x1 - rx, y1 - ry}, rx, ry, 3 * kPi / 2, kPi / 2, m);
  Draw({{outline, true}}, true);
}

TContour TMetafilePlayer::ArcPoints(double l, double t, double r, double b, TPointF start,
                                    TPointF end) const {
  const TPointF centre{(l + r) / 2, (t + b) / 2};
  const double rx = std::fabs(r - l) / 2, ry = std::fabs(b - t) / 2;
  const double a0 = EllipseAngle(centre, rx, ry, start);
  const double a1 = EllipseAngle(centre, rx, ry, end);
  double sweep = a1 - a0;
  if (FState.ArcClockwise) {
    while (sweep >= 0) sweep -= 2 * kPi;
  } else {
    while (sweep <= 0) sweep += 2 * kPi;
  }
  TContour points;
  AppendArc(points, centre, rx, ry, a0, sweep, Transform());
  return points;
}

void TMetafilePlayer::Arc(TArcKind kind, double l, double t, double r, double b, TPointF start,
                          TPointF end) {
  TContour points = ArcPoints(l, t, r, b, start, end);
  switch (kind) {
    case TArcKind::Arc:
      if (FInPath) {
        FFigureOpen = PathHasRoom(points.size());
        if (FFigureOpen) FPath.push_back({points, false});
      } else {
        Draw({{points, false}}, false);
      }
      return;
    case TArcKind::ArcTo: {
      if (FInPath) {
        ExtendPath(points);
      } else {
        points.insert(points.begin(), Transform().Map(FState.Current));
        Draw({{points, false}}, false);
      }
      // The current position moves to the arc's end on the ellipse.
      const TPointF centre{(l + r) / 2, (t + b) / 2};
      const double rx = std::fabs(r - l) / 2, ry = std::fabs(b - t) / 2;
      const double a = EllipseAngle(centre, rx, ry, end);
      FState.Current = {centre.X + rx * std::cos(a), centre.Y - ry * std::sin(a)};
      return;
    }
    case TArcKind::Chord: Draw({{points, true}}, true); return;
    case TArcKind::Pie:
      points.insert(points.begin(), Transform().Map({(l + r) / 2, (t + b) / 2}));
      Draw({{points, true}}, true);
      return;
  }
}

void TMetafilePlayer::AngleArc(TPointF centre, double radius, double startDegrees,
                               double sweepDegrees) {
  TContour points;
  AppendArc(points, centre, radius, radius, startDegrees * kPi / 180, sweepDegrees * kPi / 180,
            Transform());
  if (FInPath) {
    ExtendPath(points);
  } else {
    points.insert(points.begin(), Transform().Map(FState.Current));
    Draw({{points, false}}, false);
  }
  const double end = (startDegrees + sweepDegrees) * kPi / 180;
  FState.Current = {centre.X + radius * std::cos(end), centre.Y - radius * std::sin(end)};
}

void TMetafilePlayer::SetPixel(TPointF p, Pixel colour) {
  const TPointF d = Transform().Map(p);
  FCanvas.Plot(ToPixel(std::floor(d.X)), ToPixel(std::floor(d.Y)), colour);
}

void TMetafilePlayer::BeginPath() {
  ClearPath();
  FInPath = true;
  FFigureOpen = false;
}

void TMetafilePlayer::AbortPath() {
  ClearPath();
  FInPath = false;
  FFigureOpen = false;
}

void TMetafilePlayer::ClearPath() {
  FPath.clear();
  FPathPoints = 0;
}

void TMetafilePlayer::CloseFigure() {
  if (!FPath.empty() && FFigureOpen) {
    FPath.back().Closed = true;
    FFigureOpen = false;
  }
}

void TMetafilePlayer::FillPath() {
  FInPath = false;
  FillFigures(FPath);
  ClearPath();
}

void TMetafilePlayer::StrokePath() {
  FInPath = false;
  StrokeFigures(FPath);
  ClearPath();
}

void TMetafilePlayer::StrokeAndFillPath() {
  FInPath = false;
  FillFigures(FPath);
  StrokeFigures(FPath);
  ClearPath();
}

void TMetafilePlayer::SelectClipPath(int mode) {
  FInPath = false;
  std::vector<TContour> contours;
  for (const TFigure& f : FPath) contours.push_back(f.Points);
  // The clip may reach the whole area, whatever is clipped now.
  Region region = FCanvas.PolygonRegion(contours, FState.PolyFillMode, false);
  ClearPath();
  CombineClip(region, mode);
}

void TMetafilePlayer::CombineClip(const std::optional<Region>& region, int mode) {
  std::optional<Region>& clip = FState.Clip;
  const Region all(FCanvas.Area());
  if (!region) {
    if (mode == kRgnCopy) clip.reset();
    ClipChanged();
    return;
  }
  switch (mode) {
    case kRgnAnd: clip = clip ? clip->intersected(*region) : *region; break;
    case kRgnOr: if (clip) clip = clip->united(*region); break;
    case kRgnXor: clip = (clip ? *clip : all).xored(*region); break;
    case kRgnDiff: clip = (clip ? *clip : all).subtracted(*region); break;
    case kRgnCopy: clip = *region; break;
    default: return;
  }
  ClipChanged();
}

void TMetafilePlayer::ClipChanged() { FCanvas.SetClip(FState.Clip ? &*FState.Clip : nullptr); }

void TMetafilePlayer::IntersectClipRect(double l, double t, double r, double b) {
  CombineClip(LogicalRegion({{Rect{ToPixel(l), ToPixel(t), ToPixel(r), ToPixel(b)}}}), kRgnAnd);
}

void TMetafilePlayer::ExcludeClipRect(double l, double t, double r, double b) {
  CombineClip(LogicalRegion({{Rect{ToPixel(l), ToPixel(t), ToPixel(r), ToPixel(b)}}}), kRgnDiff);
}

void TMetafilePlayer::OffsetClip(double dx, double dy) {
  if (!FState.Clip) return;
  const TPointF d = Transform().MapVector({dx, dy});
  FState.Clip->translate_by(ToPixel(d.X), ToPixel(d.Y));
  ClipChanged();
}

Region TMetafilePlayer::LogicalRegion(const TRegionObject& region) const {
  const TMatrix m = Transform();
  if (!m.IsFinite()) return {};
  std::vector<Rect> rects;
  std::vector<TContour> polygons;
  for (const Rect& r : region.Rects) {
    if (m.IsAxisAligned()) {
      const TPointF a = m.Map({double(r.Left), double(r.Top)});
      const TPointF c = m.Map({double(r.Right), double(r.Bottom)});
      rects.push_back({ToPixel(std::min(a.X, c.X)), ToPixel(std::min(a.Y, c.Y)),
                       ToPixel(std::max(a.X, c.X)), ToPixel(std::max(a.Y, c.Y))});
    } else {
      const TPointF corners[] = {{double(r.Left), double(r.Top)},
                                 {double(r.Right), double(r.Top)},
                                 {double(r.Right), double(r.Bottom)},
                                 {double(r.Left), double(r.Bottom)}};
      TContour c;
      for (const TPointF& p : corners) c.push_back(m.Map(p));
      if (Orientation(c) < 0) std::reverse(c.begin(), c.end());
      polygons.push_back(std::move(c));
    }
  }
  if (!polygons.empty()) {
    return FCanvas.PolygonRegion(polygons, raster::FillMode::Winding, false);
  }
  return Region::FromRects(rects).intersected(FCanvas.Area());
}

Region TMetafilePlayer::DeviceRegion(std::span<const Rect> rects) const {
  const TMatrix& m = FDeviceToOutput;
  std::vector<Rect> out;
  out.reserve(rects.size());
  for (const Rect& r : rects) {
    const TPointF a = m.Map({double(r.Left), double(r.Top)});
    const TPointF c = m.Map({double(r.Right), double(r.Bottom)});
    out.push_back({ToPixel(std::min(a.X, c.X)), ToPixel(std::min(a.Y, c.Y)), ToPixel(std::max(a.X, c.X)),
                   ToPixel(std::max(a.Y, c.Y))});
  }
  return Region::FromRects(out).intersected(FCanvas.Area());
}

TFill TMetafilePlayer::MakeFill(const TBrush& brush) const {
  TFill fill;
  fill.Colour = brush.Colour;
  if (brush.Style == kBsHatched) {
    fill.Kind = TFill::TKind::Hatch;
    fill.Hatch = brush.Hatch;
    fill.OpaqueBackground = FState.BkOpaque;
    fill.Background = FState.BkColour;
  } else if ((brush.Style == kBsPattern || brush.Style == kBsDibPattern ||
              brush.Style == kBsDibPatternPt) && brush.Pattern) {
    fill.Kind = TFill::TKind::Pattern;
    fill.Pattern = brush.Pattern;
    fill.PatternOrigin = {FCanvas.Area().Left, FCanvas.Area().Top};
  }
  return fill;
}

void TMetafilePlayer::FillRegion(const Region& region, const TBrush& brush) {
  if (brush.Style == kBsNull) return;
  // A hatch without an opaque background covers only its lines; Covers() says which.
  FCanvas.Fill(region, MakeFill(brush));
}

void TMetafilePlayer::FrameRegion(const Region& region, const TBrush& brush, int width,
                                  int height) {
  const int w = std::clamp(width, 1, 1 << 12), h = std::clamp(height, 1, 1 << 12);
  // The inside of the region: pixels whose neighbours w across and h down are all in it.
  Region inner = region;
  inner = inner.intersected(region.translated(w, 0)).intersected(region.translated(-w, 0));
  inner = inner.intersected(region.translated(0, h)).intersected(region.translated(0, -h));
  FillRegion(region.subtracted(inner), brush);
}

void TMetafilePlayer::InvertRegion(const Region& region) {
  const int saved = FState.MixMode;
  FCanvas.SetMixMode(6);  // R2_NOT
  FCanvas.Fill(region, TFill::Solid(0));
  FCanvas.SetMixMode(saved);
}

bool TMetafilePlayer::PenIsNull() const { return (FState.Pen.Style & kPsStyleMask) == kPsNull; }

int TMetafilePlayer::PenPixels() const {
  if (FState.Pen.Cosmetic || FState.Pen.Width <= 0) return 1;
  const double w = FState.Pen.Width * Transform().Scale();
  if (!std::isfinite(w)) return 1;
  return std::clamp(ToPixel(w), 1, 1 << 14);
}

void TMetafilePlayer::Draw(std::vector<TFigure> figures, bool fill) {
  if (FInPath) {
    std::size_t count = 0;
    for (const TFigure& f : figures) count += f.Points.size();
    if (PathHasRoom(count)) FPath.insert(FPath.end(), figures.begin(), figures.end());
    FFigureOpen = false;
    return;
  }
  if (fill) FillFigures(figures);
  StrokeFigures(figures);
}

void TMetafilePlayer::FillFigures(const std::vector<TFigure>& figures) {
  if (FState.Brush.Style == kBsNull || figures.empty()) return;
  std::vector<TContour> contours;
  for (const TFigure& f : figures) contours.push_back(f.Points);
  FillRegion(FCanvas.PolygonRegion(contours, FState.PolyFillMode), FState.Brush);
}

void TMetafilePlayer::StrokeFigures(const std::vector<TFigure>& figures) {
  if (PenIsNull() || figures.empty()) return;
  const int width = PenPixels();
  if (width > 1) {
    StrokeWide(figures, width);
    return;
  }
  TDash dash;
  switch (FState.Pen.Style & kPsStyleMask) {
    case kPsDash: dash.Lengths = {18, 6}; break;
    case kPsDot: dash.Lengths = {3, 3}; break;
    case kPsDashDot: dash.Lengths = {9, 6, 3, 6}; break;
    case kPsDashDotDot: dash.Lengths = {9, 3, 3, 3, 3, 3}; break;
    case kPsUserStyle:
      for (double d : FState.Pen.UserDashes) dash.Lengths.push_back(std::clamp(ToPixel(d), 1, 1 << 12));
      if (dash.Lengths.size() % 2) dash.Lengths.push_back(dash.Lengths.back());
      break;
    default: break;
  }
  for (const TFigure& f : figures) {
    const TContour& p = f.Points;
    for (std::size_t i = 0; i + 1 < p.size(); ++i) FCanvas.Line(p[i], p[i + 1], FState.Pen.Colour, dash);
    if (f.Closed && p.size() > 2) FCanvas.Line(p.back(), p.front(), FState.Pen.Colour, dash);
  }
}

void TMetafilePlayer::StrokeWide(const std::vector<TFigure>& figures, int width) {
  // Every segment becomes a quadrilateral and every vertex a disc (round joins and caps); all
  // of them oriented alike and filled together by winding, they make one outline.
  const double half = width / 2.0;
  const bool flat = (FState.Pen.Style & kPsEndCapMask) == kPsEndCapFlat;
  std::vector<TContour> contours;
  for (const TFigure& f : figures) {
    TContour p = f.Points;
    if (f.Closed && p.size() > 2) p.push_back(p.front());
    for (std::size_t i = 0; i + 1 < p.size(); ++i) {
      const TPointF a = p[i], b = p[i + 1];
      const double len = VectorLength(b.X - a.X, b.Y - a.Y);
      if (!(len > 1e-9) || !std::isfinite(len)) continue;
      const double nx = -(b.Y - a.Y) / len * half, ny = (b.X - a.X) / len * half;
      TContour quad{{a.X + nx, a.Y + ny}, {b.X + nx, b.Y + ny}, {b.X - nx, b.Y - ny},
                    {a.X - nx, a.Y - ny}};
      if (Orientation(quad) < 0) std::reverse(quad.begin(), quad.end());
      contours.push_back(std::move(quad));
    }
    for (std::size_t i = 0; i < p.size(); ++i) {
      const bool end = !f.Closed && (i == 0 || i + 1 == p.size());
      if (end && flat) continue;
      TContour disc = Disc(p[i], half);
      if (Orientation(disc) < 0) std::reverse(disc.begin(), disc.end());
      contours.push_back(std::move(disc));
    }
  }
  FCanvas.Fill(FCanvas.PolygonRegion(contours, raster::FillMode::Winding),
               TFill::Solid(FState.Pen.Colour));
}

void TMetafilePlayer::DrawImage(const raster::Bitmap* image, bool pixelAlpha, double sx,
                                double sy, double sw, double sh, double x, double y, double w,
                                double h, std::uint32_t rop, int constantAlpha) {
  const TMatrix m = Transform();
  if (!m.IsFinite()) return;
  const TFill brush = MakeFill(FState.Brush);
  TMetafileCanvas::TImageDraw draw;
  draw.Image = image;
  draw.PixelAlpha = pixelAlpha;
  draw.ConstantAlpha = constantAlpha;
  draw.Sx = sx;
  draw.Sy = sy;
  draw.Sw = sw;
  draw.Sh = sh;
  draw.Corner = m.Map({x, y});
  draw.AlongX = m.MapVector({w, 0});
  draw.AlongY = m.MapVector({0, h});
  draw.Rop = rop;
  draw.Brush = &brush;
  FCanvas.DrawImage(draw);
}

void TMetafilePlayer::Text(TPointF reference, const std::u32string& text,
                           std::span<const double> advances, std::uint32_t options,
                           const std::optional<Rect>& logicalRect) {
  const TMatrix m = Transform();
  if (!m.IsFinite()) return;
  std::optional<Region> box;
  if (logicalRect) {
    box = LogicalRegion({{*logicalRect}});
    if (options & kEtoOpaque) FCanvas.Fill(*box, TFill::Solid(FState.BkColour));
  }
  if (text.empty()) return;
  if (!FText) FText = std::make_unique<TMetafileText>();
  const bool updateCp = (FState.TextAlign & 1) != 0;
  const TPointF origin = updateCp ? FState.Current : reference;
  std::optional<Region> saved;
  if (box && (options & kEtoClipped)) {
    saved = FCanvas.Clip();
    const Region clipped = FCanvas.Clip().intersected(*box);
    FCanvas.SetClip(&clipped);
  }
  const double advance = FText->Draw(FCanvas, FState, m, origin, text, advances);
  if (saved) ClipChanged();
  if (updateCp) FState.Current = {origin.X + advance, origin.Y};
}

}  // namespace pavona::pictures
