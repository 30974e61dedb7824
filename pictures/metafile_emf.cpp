// The records of enhanced metafiles: 32-bit parameters, offsets counted from the start of the
// record (its type and size fields included).
#include <bit>
#include <cmath>
#include <vector>

#include "pictures/byte_reader.h"
#include "pictures/metafile_bitmap.h"
#include "pictures/metafile_data.h"
#include "pictures/metafile_player.h"
#include "pictures/metafile_text.h"

namespace pavona::pictures {

namespace {

enum : std::uint32_t {
  kPolyBezier = 2, kPolygon, kPolyline, kPolyBezierTo, kPolylineTo, kPolyPolyline, kPolyPolygon,
  kSetWindowExtEx, kSetWindowOrgEx, kSetViewportExtEx, kSetViewportOrgEx,
  kSetPixelV = 15, kSetMapMode = 17, kSetBkMode, kSetPolyFillMode, kSetRop2,
  kSetTextAlign = 22, kSetTextColor = 24, kSetBkColor, kOffsetClipRgn, kMoveToEx,
  kExcludeClipRect = 29, kIntersectClipRect, kScaleViewportExtEx, kScaleWindowExtEx, kSaveDc,
  kRestoreDc, kSetWorldTransform, kModifyWorldTransform, kSelectObject, kCreatePen,
  kCreateBrushIndirect, kDeleteObject, kAngleArc, kEllipse, kRectangle, kRoundRect, kArc, kChord,
  kPie, kCreatePalette = 49, kLineTo = 54, kArcTo, kPolyDraw, kSetArcDirection, kBeginPath = 59,
  kEndPath, kCloseFigure, kFillPath, kStrokeAndFillPath, kStrokePath, kFlattenPath, kWidenPath,
  kSelectClipPath, kAbortPath, kFillRgn = 71, kFrameRgn, kInvertRgn, kPaintRgn, kExtSelectClipRgn,
  kBitBlt, kStretchBlt, kSetDiBitsToDevice = 80, kStretchDiBits, kExtCreateFontIndirectW,
  kExtTextOutA, kExtTextOutW, kPolyBezier16, kPolygon16, kPolyline16, kPolyBezierTo16,
  kPolylineTo16, kPolyPolyline16, kPolyPolygon16, kPolyDraw16, kCreateMonoBrush,
  kCreateDibPatternBrushPt, kExtCreatePen, kAlphaBlend = 114,
};

constexpr std::size_t kRecordHeader = 8;  // type and size, before the parameters
constexpr std::uint32_t kStockObject = 0x80000000;
constexpr std::uint32_t kEtoPdy = 0x2000;

class TEmfParams {
 public:
  explicit TEmfParams(std::span<const std::uint8_t> params) : FParams(params), FIn(params) {}
  std::int32_t I() { return FIn.I32(); }
  double D() { return FIn.I32(); }
  std::uint32_t U() { return FIn.U32(); }
  float F() { return std::bit_cast<float>(FIn.U32()); }
  std::int16_t S() { return static_cast<std::int16_t>(FIn.U16()); }
  void Skip(std::size_t n) { FIn.Skip(n); }
  std::size_t Remaining() const { return FIn.Remaining(); }
  std::span<const std::uint8_t> Take(std::size_t n) { return FIn.Take(n); }

  // count bytes at an offset counted from the start of the record; nothing when out of range.
  std::span<const std::uint8_t> At(std::uint32_t offset, std::uint64_t count) const {
    if (offset < kRecordHeader) return {};
    const std::uint64_t start = offset - kRecordHeader;
    if (start > FParams.size() || count > FParams.size() - start) return {};
    return FParams.subspan(static_cast<std::size_t>(start), static_cast<std::size_t>(count));
  }

  std::vector<TPointF> Points(std::uint64_t count, bool small) {
    if (count * (small ? 4 : 8) > Remaining()) ThrowReadError();
    std::vector<TPointF> points(static_cast<std::size_t>(count));
    for (TPointF& p : points) {
      p.X = small ? S() : I();
      p.Y = small ? S() : I();
    }
    return points;
  }

  TMatrix Xform() {
    TMatrix m;
    m.M11 = F();
    m.M12 = F();
    m.M21 = F();
    m.M22 = F();
    m.Dx = F();
    m.Dy = F();
    return m;
  }

 private:
  std::span<const std::uint8_t> FParams;
  TByteReader FIn;
};

std::u32string DecodeUtf16(std::span<const std::uint8_t> bytes) {
  std::u32string text;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    char32_t c = bytes[i] | (bytes[i + 1] << 8);
    if (c >= 0xD800 && c < 0xDC00 && i + 3 < bytes.size()) {
      const char32_t low = bytes[i + 2] | (bytes[i + 3] << 8);
      if (low >= 0xDC00 && low < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    text.push_back(c);
  }
  return text;
}

class TEmfPlayer {
 public:
  explicit TEmfPlayer(TMetafilePlayer& player) : FPlayer(player) {}

  void Play(const TMetafileRecord& record) {
    TEmfParams p(record.Params);
    TDcState& s = FPlayer.State();
    switch (record.Type) {
      case kPolyBezier: case kPolygon: case kPolyline: case kPolyBezierTo: case kPolylineTo:
      case kPolyBezier16: case kPolygon16: case kPolyline16: case kPolyBezierTo16:
      case kPolylineTo16: {
        const bool small = record.Type >= kPolyBezier16;
        const std::uint32_t kind = small ? record.Type - kPolyBezier16 + kPolyBezier : record.Type;
        p.Skip(16);  // bounds
        const auto points = p.Points(p.U(), small);
        switch (kind) {
          case kPolyBezier: FPlayer.PolyBezier(points, false); break;
          case kPolyBezierTo: FPlayer.PolyBezier(points, true); break;
          case kPolyline: FPlayer.Polyline(points, false); break;
          case kPolylineTo: FPlayer.Polyline(points, true); break;
          default:
            if (points.size() >= 2) FPlayer.PolyPolygon(std::span(&points, 1));
            break;
        }
        break;
      }
      case kPolyPolyline: case kPolyPolygon: case kPolyPolyline16: case kPolyPolygon16: {
        const bool small = record.Type >= kPolyPolyline16;
        p.Skip(16);
        const std::uint64_t polygons = p.U();
        const std::uint64_t total = p.U();
        if (polygons * 4 > p.Remaining()) ThrowReadError();
        std::vector<std::uint64_t> counts(static_cast<std::size_t>(polygons));
        std::uint64_t sum = 0;
        for (auto& n : counts) sum += n = p.U();
        if (sum > total) ThrowReadError();
        std::vector<std::vector<TPointF>> lists;
        for (auto n : counts) lists.push_back(p.Points(n, small));
        if (record.Type == kPolyPolyline || record.Type == kPolyPolyline16) {
          FPlayer.PolyPolyline(lists);
        } else {
          FPlayer.PolyPolygon(lists);
        }
        break;
      }
      case kPolyDraw: case kPolyDraw16: PolyDraw(p, record.Type == kPolyDraw16); break;
      case kSetWindowExtEx: s.WindowExt = {p.D(), p.D()}; break;
      case kSetWindowOrgEx: s.WindowOrg = {p.D(), p.D()}; break;
      case kSetViewportExtEx: s.ViewportExt = {p.D(), p.D()}; break;
      case kSetViewportOrgEx: s.ViewportOrg = {p.D(), p.D()}; break;
      case kScaleViewportExtEx:
      case kScaleWindowExtEx: {
        const double xNum = p.D(), xDenom = p.D(), yNum = p.D(), yDenom = p.D();
        if (xDenom == 0 || yDenom == 0) break;
        TPointF& ext = record.Type == kScaleWindowExtEx ? s.WindowExt : s.ViewportExt;
        ext = {ext.X * xNum / xDenom, ext.Y * yNum / yDenom};
        break;
      }
      case kSetPixelV: {
        const TPointF at{p.D(), p.D()};
        FPlayer.SetPixel(at, ColourOf(p.U()));
        break;
      }
      case kSetMapMode: {
        const std::uint32_t mode = p.U();
        if (mode >= kMmText && mode <= kMmAnisotropic) s.MapMode = static_cast<int>(mode);
        break;
      }
      case kSetBkMode: s.BkOpaque = p.U() == 2; break;
      case kSetPolyFillMode:
        s.PolyFillMode = p.U() == 2 ? raster::FillMode::Winding : raster::FillMode::Alternate;
        break;
      case kSetRop2: s.MixMode = static_cast<int>(p.U() & 0xFF); FPlayer.ModesChanged(); break;
      case kSetTextAlign: s.TextAlign = p.U(); break;
      case kSetTextColor: s.TextColour = ColourOf(p.U()); break;
      case kSetBkColor: s.BkColour = ColourOf(p.U()); break;
      case kOffsetClipRgn: {
        const double dx = p.D();
        FPlayer.OffsetClip(dx, p.D());
        break;
      }
      case kMoveToEx: FPlayer.MoveTo({p.D(), p.D()}); break;
      case kLineTo: FPlayer.LineTo({p.D(), p.D()}); break;
      case kExcludeClipRect:
      case kIntersectClipRect: {
        const double l = p.D(), t = p.D(), r = p.D(), b = p.D();
        if (record.Type == kIntersectClipRect) {
          FPlayer.IntersectClipRect(l, t, r, b);
        } else {
          FPlayer.ExcludeClipRect(l, t, r, b);
        }
        break;
      }
      case kSaveDc: FPlayer.SaveState(); break;
      case kRestoreDc: FPlayer.RestoreState(p.I()); break;
      case kSetWorldTransform: {
        const TMatrix m = p.Xform();
        if (m.IsFinite()) s.World = m;
        break;
      }
      case kModifyWorldTransform: {
        const TMatrix m = p.Xform();
        const std::uint32_t mode = p.U();
        if (!m.IsFinite()) break;
        switch (mode) {
          case 1: s.World = TMatrix{}; break;
          case 2: s.World = m.Then(s.World); break;
          case 3: s.World = s.World.Then(m); break;
          case 4: s.World = m; break;
          default: break;
        }
        break;
      }
      case kSelectObject: {
        const std::uint32_t index = p.U();
        if (index & kStockObject) {
          FPlayer.SelectStockObject(index & ~kStockObject);
        } else {
          FPlayer.SelectObject(index);
        }
        break;
      }
      case kDeleteObject: FPlayer.DeleteObject(p.U()); break;
      case kCreatePen: {
        const std::uint32_t index = p.U();
        TPen pen;
        pen.Style = p.U();
        pen.Width = std::abs(p.D());
        p.D();
        pen.Colour = ColourOf(p.U());
        pen.Cosmetic = pen.Width == 0;
        FPlayer.StoreObject(index, pen);
        break;
      }
      case kExtCreatePen: {
        const std::uint32_t index = p.U();
        p.Skip(16);  // the pattern bitmap of the pen's brush, drawn as its colour
        TPen pen;
        pen.Style = p.U();
        pen.Width = p.U();
        const std::uint32_t brushStyle = p.U();
        pen.Colour = ColourOf(p.U());
        p.U();  // hatch
        const std::uint64_t entries = p.U();
        if ((pen.Style & kPsStyleMask) == kPsUserStyle) {
          for (std::uint64_t i = 0; i < entries && i < 16 && p.Remaining() >= 4; ++i) {
            pen.UserDashes.push_back(p.U());
          }
          if (pen.UserDashes.empty()) pen.Style &= ~kPsStyleMask;
        }
        pen.Cosmetic = (pen.Style & kPsGeometric) == 0;
        if (brushStyle == kBsNull) pen.Style = (pen.Style & ~kPsStyleMask) | kPsNull;
        // A geometric pen's dashes are as long as the pen is wide.
        if (!pen.Cosmetic && (pen.Style & kPsStyleMask) == kPsUserStyle) {
          for (double& d : pen.UserDashes) d *= FPlayer.Transform().Scale();
        }
        FPlayer.StoreObject(index, pen);
        break;
      }
      case kCreateBrushIndirect: {
        const std::uint32_t index = p.U();
        TBrush brush;
        brush.Style = p.U();
        brush.Colour = ColourOf(p.U());
        brush.Hatch = static_cast<int>(p.U());
        if (brush.Style != kBsSolid && brush.Style != kBsHatched) brush.Style = kBsNull;
        FPlayer.StoreObject(index, brush);
        break;
      }
      case kCreateMonoBrush:
      case kCreateDibPatternBrushPt: {
        const std::uint32_t index = p.U();
        p.U();  // colour usage
        const std::uint32_t offBmi = p.U(), cbBmi = p.U(), offBits = p.U(), cbBits = p.U();
        TBrush brush;
        const auto header = p.At(offBmi, cbBmi);
        const auto bits = p.At(offBits, cbBits);
        if (auto dib = header.empty() ? std::nullopt : DecodeRecordDib(header, bits)) {
          brush.Style = kBsDibPatternPt;
          brush.Pattern = std::make_shared<const raster::Bitmap>(std::move(dib->Dib.Pixels));
        } else {
          brush.Colour = 0x808080;
        }
        FPlayer.StoreObject(index, brush);
        break;
      }
      case kExtCreateFontIndirectW: {
        const std::uint32_t index = p.U();
        TFont font;
        font.Height = p.I();
        font.Width = p.I();
        font.Escapement = p.I();
        p.I();  // orientation
        font.Weight = p.I();
        const auto flags = p.Take(8);
        font.Italic = flags[0] != 0;
        font.Underline = flags[1] != 0;
        font.StrikeOut = flags[2] != 0;
        font.CharSet = flags[3];
        for (char32_t c : DecodeUtf16(p.Take(64))) {
          if (c == 0) break;
          if (c < 0x80) font.FaceName.push_back(static_cast<char>(c));
        }
        FPlayer.StoreObject(index, font);
        break;
      }
      case kCreatePalette: FPlayer.StoreObject(p.U(), TOtherObject{}); break;
      case kAngleArc: {
        const TPointF centre{p.D(), p.D()};
        const double radius = p.U();
        const double start = p.F(), sweep = p.F();
        if (std::isfinite(start) && std::isfinite(sweep)) {
          FPlayer.AngleArc(centre, radius, start, sweep);
        }
        break;
      }
      case kEllipse: case kRectangle: {
        const double l = p.D(), t = p.D(), r = p.D(), b = p.D();
        if (record.Type == kEllipse) {
          FPlayer.Ellipse(l, t, r, b);
        } else {
          FPlayer.Rectangle(l, t, r, b);
        }
        break;
      }
      case kRoundRect: {
        const double l = p.D(), t = p.D(), r = p.D(), b = p.D();
        const double w = p.D(), h = p.D();
        FPlayer.RoundRect(l, t, r, b, w, h);
        break;
      }
      case kArc: case kChord: case kPie: case kArcTo: {
        const double l = p.D(), t = p.D(), r = p.D(), b = p.D();
        const TPointF start{p.D(), p.D()};
        const TPointF end{p.D(), p.D()};
        const auto kind = record.Type == kArc     ? TMetafilePlayer::TArcKind::Arc
                          : record.Type == kArcTo ? TMetafilePlayer::TArcKind::ArcTo
                          : record.Type == kChord ? TMetafilePlayer::TArcKind::Chord
                                                  : TMetafilePlayer::TArcKind::Pie;
        FPlayer.Arc(kind, l, t, r, b, start, end);
        break;
      }
      case kSetArcDirection: s.ArcClockwise = p.U() == 2; break;
      case kBeginPath: FPlayer.BeginPath(); break;
      case kEndPath: FPlayer.EndPath(); break;
      case kCloseFigure: FPlayer.CloseFigure(); break;
      case kFillPath: FPlayer.FillPath(); break;
      case kStrokeAndFillPath: FPlayer.StrokeAndFillPath(); break;
      case kStrokePath: FPlayer.StrokePath(); break;
      case kSelectClipPath: FPlayer.SelectClipPath(static_cast<int>(p.U())); break;
      case kAbortPath: FPlayer.AbortPath(); break;
      case kFillRgn: case kFrameRgn: case kInvertRgn: case kPaintRgn: {
        p.Skip(16);
        const std::uint32_t size = p.U();
        const TBrush* brush = &s.Brush;
        if (record.Type == kFillRgn || record.Type == kFrameRgn) {
          brush = FPlayer.ObjectAt<TBrush>(p.U());
        }
        double w = 1, h = 1;
        if (record.Type == kFrameRgn) {
          w = p.D();
          h = p.D();
        }
        const raster::Region region = RegionData(p.Take(std::min<std::size_t>(size, p.Remaining())));
        if (record.Type == kInvertRgn) {
          FPlayer.InvertRegion(region);
        } else if (brush && record.Type == kFrameRgn) {
          const TPointF px = FPlayer.DeviceToOutput().MapVector({w, h});
          FPlayer.FrameRegion(region, *brush, static_cast<int>(std::fabs(px.X) + 0.5),
                              static_cast<int>(std::fabs(px.Y) + 0.5));
        } else if (brush) {
          FPlayer.FillRegion(region, *brush);
        }
        break;
      }
      case kExtSelectClipRgn: {
        const std::uint32_t size = p.U();
        const int mode = static_cast<int>(p.U());
        if (size < 32) {
          // No region: only a copy means anything, and it removes the clip.
          if (mode == kRgnCopy) FPlayer.CombineClip(std::nullopt, kRgnCopy);
          break;
        }
        FPlayer.CombineClip(RegionData(p.Take(std::min<std::size_t>(size, p.Remaining()))),
                            mode);
        break;
      }
      case kBitBlt: case kStretchBlt: case kAlphaBlend: Blit(record.Type, p); break;
      case kStretchDiBits: {
        p.Skip(16);
        const double x = p.D(), y = p.D(), sx = p.D(), sy = p.D(), sw = p.D(), sh = p.D();
        const std::uint32_t offBmi = p.U(), cbBmi = p.U(), offBits = p.U(), cbBits = p.U();
        p.U();  // colour usage
        const std::uint32_t rop = p.U();
        const double w = p.D(), h = p.D();
        DrawDib(p, offBmi, cbBmi, offBits, cbBits, sx, sy, sw, sh, x, y, w, h, rop, true, -1);
        break;
      }
      case kSetDiBitsToDevice: {
        p.Skip(16);
        const double x = p.D(), y = p.D(), sx = p.D(), sy = p.D(), sw = p.D(), sh = p.D();
        const std::uint32_t offBmi = p.U(), cbBmi = p.U(), offBits = p.U(), cbBits = p.U();
        DrawDib(p, offBmi, cbBmi, offBits, cbBits, sx, sy, sw, sh, x, y, sw, sh, 0x00CC0020,
                true, -1);
        break;
      }
      case kExtTextOutA: case kExtTextOutW: TextOut(p, record.Type == kExtTextOutW); break;
      default: break;  // comments (with any EMF+ records in them) and records we do not draw
    }
  }

 private:
  // Rectangles of a region record, in device units, as bitmap pixels.
  raster::Region RegionData(std::span<const std::uint8_t> data) {
    TByteReader in(data);
    in.Skip(8);  // header size, type
    const std::uint64_t count = in.U32();
    in.Skip(4 + 16);  // size, bounds
    if (count * 16 > in.Remaining()) ThrowReadError();
    std::vector<raster::Rect> rects(static_cast<std::size_t>(count));
    for (raster::Rect& r : rects) r = {in.I32(), in.I32(), in.I32(), in.I32()};
    return FPlayer.DeviceRegion(rects);
  }

  void PolyDraw(TEmfParams& p, bool small) {
    p.Skip(16);
    const std::uint64_t count = p.U();
    const auto points = p.Points(count, small);
    const auto types = p.Take(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < points.size(); ++i) {
      const std::uint8_t type = types[i] & ~1;
      if (type == 6) {
        FPlayer.MoveTo(points[i]);
      } else if (type == 2) {
        FPlayer.LineTo(points[i]);
      } else if (type == 4 && i + 2 < points.size()) {
        FPlayer.PolyBezier(std::span(points).subspan(i, 3), true);
        i += 2;
      }
      if (types[std::min(i, points.size() - 1)] & 1) FPlayer.CloseFigure();
    }
  }

  void Blit(std::uint32_t type, TEmfParams& p) {
    p.Skip(16);
    const double x = p.D(), y = p.D(), w = p.D(), h = p.D();
    std::uint32_t rop = 0x00CC0020;
    int alpha = -1;
    if (type == kAlphaBlend) {
      const auto blend = p.Take(4);
      alpha = blend[2];
    } else {
      rop = p.U();
    }
    const double sx = p.D(), sy = p.D();
    p.Skip(24 + 4 + 4);  // source transform, background colour, colour usage
    const std::uint32_t offBmi = p.U(), cbBmi = p.U(), offBits = p.U(), cbBits = p.U();
    double sw = w, sh = h;
    if (type != kBitBlt) {
      sw = p.D();
      sh = p.D();
    }
    if (cbBmi == 0) {
      if (type != kAlphaBlend) FPlayer.DrawImage(nullptr, false, 0, 0, 0, 0, x, y, w, h, rop);
      return;
    }
    DrawDib(p, offBmi, cbBmi, offBits, cbBits, sx, sy, sw, sh, x, y, w, h, rop, false, alpha);
  }

  void DrawDib(const TEmfParams& p, std::uint32_t offBmi, std::uint32_t cbBmi,
               std::uint32_t offBits, std::uint32_t cbBits, double sx, double sy, double sw,
               double sh, double x, double y, double w, double h, std::uint32_t rop,
               bool fromBottom, int alpha) {
    const auto header = p.At(offBmi, cbBmi);
    if (header.empty()) return;
    const auto dib = DecodeRecordDib(header, p.At(offBits, cbBits));
    if (!dib) return;
    const raster::Bitmap& pixels = dib->Dib.Pixels;
    const double top = dib->SourceTop(sy, sh, fromBottom);
    FPlayer.DrawImage(&pixels, false, sx, top, sw, sh, x, y, w, h, rop, alpha);
  }

  void TextOut(TEmfParams& p, bool wide) {
    p.Skip(16 + 12);  // bounds, graphics mode, scales
    const TPointF reference{p.D(), p.D()};
    const std::uint64_t count = p.U();
    const std::uint32_t offString = p.U();
    const std::uint32_t options = p.U();
    const raster::Rect rect{p.I(), p.I(), p.I(), p.I()};
    const std::uint32_t offDx = p.U();
    // Glyph indexes belong to the writer's font, which is not ours.
    if (options & kEtoGlyphIndex) return;
    const auto bytes = p.At(offString, count * (wide ? 2 : 1));
    const std::u32string text = wide ? DecodeUtf16(bytes) : DecodeAnsi(bytes);
    const std::size_t stride = options & kEtoPdy ? 8 : 4;
    std::vector<double> advances;
    const auto dx = p.At(offDx, count * stride);
    for (std::size_t i = 0; i + 4 <= dx.size(); i += stride) {
      advances.push_back(static_cast<std::int32_t>(dx[i] | (dx[i + 1] << 8) | (dx[i + 2] << 16) |
                                                   (std::uint32_t{dx[i + 3]} << 24)));
    }
    std::optional<raster::Rect> box;
    if (options & (kEtoOpaque | kEtoClipped)) box = rect;
    FPlayer.Text(reference, text, advances, options, box);
  }

  TMetafilePlayer& FPlayer;
};

}  // namespace

void PlayEmfRecords(const TMetafileData& data, TMetafilePlayer& player) {
  TEmfPlayer emf(player);
  for (const TMetafileRecord& record : data.Records) {
    // A record too short for its parameters is left out; the others still draw.
    try {
      emf.Play(record);
    } catch (const platform::EStreamError&) {
    }
  }
}

}  // namespace pavona::pictures
