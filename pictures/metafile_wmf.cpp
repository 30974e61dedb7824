// The records of Windows metafiles. Their parameters are 16-bit words, most of them listed in
// reverse order (y before x, bottom-right before top-left).
#include <algorithm>
#include <vector>

#include "pictures/byte_reader.h"
#include "pictures/metafile_bitmap.h"
#include "pictures/metafile_data.h"
#include "pictures/metafile_player.h"
#include "pictures/metafile_text.h"

namespace pavona::pictures {

namespace {

enum : std::uint16_t {
  kSaveDc = 0x001E,
  kCreatePalette = 0x00F7,
  kSetBkMode = 0x0102,
  kSetRop2 = 0x0104,
  kSetPolyFillMode = 0x0106,
  kRestoreDc = 0x0127,
  kInvertRegion = 0x012A,
  kPaintRegion = 0x012B,
  kSelectClipRegion = 0x012C,
  kSelectObject = 0x012D,
  kSetTextAlign = 0x012E,
  kDibCreatePatternBrush = 0x0142,
  kDeleteObject = 0x01F0,
  kCreatePatternBrush = 0x01F9,
  kSetBkColor = 0x0201,
  kSetTextColor = 0x0209,
  kSetWindowOrg = 0x020B,
  kSetWindowExt = 0x020C,
  kOffsetWindowOrg = 0x020F,
  kLineTo = 0x0213,
  kMoveTo = 0x0214,
  kOffsetClipRgn = 0x0220,
  kFillRegion = 0x0228,
  kCreatePenIndirect = 0x02FA,
  kCreateFontIndirect = 0x02FB,
  kCreateBrushIndirect = 0x02FC,
  kPolygon = 0x0324,
  kPolyline = 0x0325,
  kScaleWindowExt = 0x0410,
  kExcludeClipRect = 0x0415,
  kIntersectClipRect = 0x0416,
  kEllipse = 0x0418,
  kRectangle = 0x041B,
  kSetPixel = 0x041F,
  kFrameRegion = 0x0429,
  kTextOut = 0x0521,
  kPolyPolygon = 0x0538,
  kRoundRect = 0x061C,
  kPatBlt = 0x061D,
  kCreateRegion = 0x06FF,
  kArc = 0x0817,
  kPie = 0x081A,
  kChord = 0x0830,
  kBitBlt = 0x0922,
  kDibBitBlt = 0x0940,
  kExtTextOut = 0x0A32,
  kStretchBlt = 0x0B23,
  kDibStretchBlt = 0x0B41,
  kSetDibToDev = 0x0D33,
  kStretchDib = 0x0F43,
};

class TWmfParams {
 public:
  explicit TWmfParams(std::span<const std::uint8_t> params) : FIn(params) {}
  double S() { return static_cast<std::int16_t>(FIn.U16()); }
  std::uint16_t U() { return FIn.U16(); }
  std::uint32_t U32() { return FIn.U32(); }
  std::size_t Remaining() const { return FIn.Remaining(); }
  std::span<const std::uint8_t> Take(std::size_t n) { return FIn.Take(n); }
  std::span<const std::uint8_t> Rest() { return FIn.Take(FIn.Remaining()); }
  void Skip(std::size_t n) { FIn.Skip(n); }

  std::vector<TPointF> Points(std::size_t count) {
    if (count * 4 > Remaining()) ThrowReadError();
    std::vector<TPointF> points(count);
    for (TPointF& p : points) {
      p.X = S();
      p.Y = S();
    }
    return points;
  }

 private:
  TByteReader FIn;
};

class TWmfPlayer {
 public:
  TWmfPlayer(TMetafilePlayer& player, const TMetafileData& data, const raster::Rect& dest)
      : FPlayer(player) {
    // The window, however the records set it, fills the destination.
    TDcState& s = FPlayer.State();
    s.MapMode = kMmAnisotropic;
    s.WindowOrg = data.WindowOrg;
    s.WindowExt = data.WindowExt;
    s.ViewportOrg = {double(dest.Left), double(dest.Top)};
    s.ViewportExt = {double(dest.width()), double(dest.height())};
  }

  void Play(const TMetafileRecord& record) {
    TWmfParams p(record.Params);
    TDcState& s = FPlayer.State();
    switch (record.Type) {
      case kSaveDc: FPlayer.SaveState(); break;
      case kRestoreDc: FPlayer.RestoreState(static_cast<int>(p.S())); break;
      case kSetBkMode: s.BkOpaque = p.U() == 2; break;
      case kSetRop2: s.MixMode = p.U() & 0xFF; FPlayer.ModesChanged(); break;
      case kSetPolyFillMode:
        s.PolyFillMode = p.U() == 2 ? raster::FillMode::Winding : raster::FillMode::Alternate;
        break;
      case kSetTextAlign: s.TextAlign = p.U(); break;
      case kSetBkColor: s.BkColour = ColourOf(p.U32()); break;
      case kSetTextColor: s.TextColour = ColourOf(p.U32()); break;
      case kSetWindowOrg: {
        const double y = p.S();
        s.WindowOrg = {p.S(), y};
        break;
      }
      case kSetWindowExt: {
        const double y = p.S();
        s.WindowExt = {p.S(), y};
        break;
      }
      case kOffsetWindowOrg: {
        const double y = p.S();
        s.WindowOrg.X += p.S();
        s.WindowOrg.Y += y;
        break;
      }
      case kScaleWindowExt: {
        const double yDenom = p.S(), yNum = p.S(), xDenom = p.S(), xNum = p.S();
        if (xDenom != 0 && yDenom != 0) {
          s.WindowExt = {s.WindowExt.X * xNum / xDenom, s.WindowExt.Y * yNum / yDenom};
        }
        break;
      }
      case kMoveTo: {
        const double y = p.S();
        FPlayer.MoveTo({p.S(), y});
        break;
      }
      case kLineTo: {
        const double y = p.S();
        FPlayer.LineTo({p.S(), y});
        break;
      }
      case kPolyline:
      case kPolygon: {
        const auto points = p.Points(p.U());
        if (record.Type == kPolyline) {
          FPlayer.Polyline(points, false);
        } else if (points.size() >= 2) {
          FPlayer.PolyPolygon(std::span(&points, 1));
        }
        break;
      }
      case kPolyPolygon: {
        const std::size_t count = p.U();
        if (count * 2 > p.Remaining()) ThrowReadError();
        std::vector<std::size_t> sizes(count);
        for (std::size_t& n : sizes) n = p.U();
        std::vector<std::vector<TPointF>> polygons;
        for (std::size_t n : sizes) polygons.push_back(p.Points(n));
        FPlayer.PolyPolygon(polygons);
        break;
      }
      case kRectangle:
      case kEllipse: {
        const double b = p.S(), r = p.S(), t = p.S(), l = p.S();
        if (record.Type == kRectangle) {
          FPlayer.Rectangle(l, t, r, b);
        } else {
          FPlayer.Ellipse(l, t, r, b);
        }
        break;
      }
      case kRoundRect: {
        const double h = p.S(), w = p.S(), b = p.S(), r = p.S(), t = p.S(), l = p.S();
        FPlayer.RoundRect(l, t, r, b, w, h);
        break;
      }
      case kArc:
      case kPie:
      case kChord: {
        const double ye = p.S(), xe = p.S(), ys = p.S(), xs = p.S();
        const double b = p.S(), r = p.S(), t = p.S(), l = p.S();
        const auto kind = record.Type == kArc   ? TMetafilePlayer::TArcKind::Arc
                          : record.Type == kPie ? TMetafilePlayer::TArcKind::Pie
                                                : TMetafilePlayer::TArcKind::Chord;
        FPlayer.Arc(kind, l, t, r, b, {xs, ys}, {xe, ye});
        break;
      }
      case kSetPixel: {
        const std::uint32_t colour = p.U32();
        const double y = p.S();
        FPlayer.SetPixel({p.S(), y}, ColourOf(colour));
        break;
      }
      case kCreatePenIndirect: {
        TPen pen;
        pen.Style = p.U();
        pen.Width = std::abs(p.S());
        p.S();
        pen.Colour = ColourOf(p.U32());
        pen.Cosmetic = pen.Width == 0;
        Store(pen);
        break;
      }
      case kCreateBrushIndirect: {
        TBrush brush;
        brush.Style = p.U();
        brush.Colour = ColourOf(p.U32());
        brush.Hatch = p.U();
        if (brush.Style != kBsSolid && brush.Style != kBsHatched) brush.Style = kBsNull;
        Store(brush);
        break;
      }
      case kDibCreatePatternBrush: {
        const std::uint16_t style = p.U();
        p.U();  // colour usage
        TBrush brush;
        if (auto dib = style != kBsPattern ? DecodeRecordDib(p.Rest()) : std::nullopt) {
          brush.Style = kBsDibPatternPt;
          brush.Pattern = std::make_shared<const raster::Bitmap>(std::move(dib->Dib.Pixels));
        } else {
          brush.Colour = 0x808080;  // a pattern we cannot read: a neutral tone
        }
        Store(brush);
        break;
      }
      case kCreatePatternBrush:
        Store(TBrush{kBsSolid, 0x808080, 0, nullptr});
        break;
      case kCreateFontIndirect: Store(ReadFont(p)); break;
      case kCreatePalette: Store(TOtherObject{}); break;
      case kCreateRegion: Store(ReadRegion(p)); break;
      case kSelectObject: FPlayer.SelectObject(p.U()); break;
      case kDeleteObject: FPlayer.DeleteObject(p.U()); break;
      case kSelectClipRegion: {
        // A region object, or none: no clip.
        if (const TRegionObject* region = Region(p.U())) {
          FPlayer.CombineClip(FPlayer.LogicalRegion(*region), kRgnCopy);
        } else {
          FPlayer.CombineClip(std::nullopt, kRgnCopy);
        }
        break;
      }
      case kIntersectClipRect:
      case kExcludeClipRect: {
        const double b = p.S(), r = p.S(), t = p.S(), l = p.S();
        if (record.Type == kIntersectClipRect) {
          FPlayer.IntersectClipRect(l, t, r, b);
        } else {
          FPlayer.ExcludeClipRect(l, t, r, b);
        }
        break;
      }
      case kOffsetClipRgn: {
        const double y = p.S();
        FPlayer.OffsetClip(p.S(), y);
        break;
      }
      case kFillRegion:
      case kPaintRegion:
      case kInvertRegion:
      case kFrameRegion: {
        const TRegionObject* region = Region(p.U());
        const TBrush* brush = record.Type == kFillRegion || record.Type == kFrameRegion
                                  ? Brush(p.U())
                                  : &s.Brush;
        if (!region) break;
        const raster::Region pixels = FPlayer.LogicalRegion(*region);
        if (record.Type == kInvertRegion) {
          FPlayer.InvertRegion(pixels);
        } else if (record.Type == kFrameRegion && brush) {
          const double h = p.S(), w = p.S();
          const TPointF size = FPlayer.Transform().MapVector({w, h});
          FPlayer.FrameRegion(pixels, *brush, static_cast<int>(std::abs(size.X) + 0.5),
                              static_cast<int>(std::abs(size.Y) + 0.5));
        } else if (brush) {
          FPlayer.FillRegion(pixels, *brush);
        }
        break;
      }
      case kTextOut: {
        const std::size_t count = p.U();
        const auto bytes = p.Take((count + 1) & ~std::size_t{1});
        const double y = p.S(), x = p.S();
        FPlayer.Text({x, y}, DecodeAnsi(bytes.first(count)), {}, 0, std::nullopt);
        break;
      }
      case kExtTextOut: {
        const double y = p.S(), x = p.S();
        const std::size_t count = p.U();
        const std::uint16_t options = p.U();
        std::optional<raster::Rect> rect;
        if (options & (kEtoOpaque | kEtoClipped)) {
          const int l = static_cast<int>(p.S()), t = static_cast<int>(p.S());
          const int r = static_cast<int>(p.S()), b = static_cast<int>(p.S());
          rect = raster::Rect{l, t, r, b};
        }
        const auto bytes = p.Take(std::min(p.Remaining(), (count + 1) & ~std::size_t{1}));
        std::vector<double> advances;
        while (advances.size() < count && p.Remaining() >= 2) advances.push_back(p.S());
        const std::u32string text = DecodeAnsi(bytes.first(std::min(count, bytes.size())));
        FPlayer.Text({x, y}, text, advances, options, rect);
        break;
      }
      case kPatBlt: {
        const std::uint32_t rop = p.U32();
        const double h = p.S(), w = p.S(), y = p.S(), x = p.S();
        FPlayer.DrawImage(nullptr, false, 0, 0, 0, 0, x, y, w, h, rop);
        break;
      }
      case kBitBlt:
      case kDibBitBlt:
      case kStretchBlt:
      case kDibStretchBlt: Blit(record, p); break;
      case kStretchDib: {
        const std::uint32_t rop = p.U32();
        p.U();  // colour usage
        const double sh = p.S(), sw = p.S(), sy = p.S(), sx = p.S();
        const double dh = p.S(), dw = p.S(), dy = p.S(), dx = p.S();
        DrawDib(p.Rest(), sx, sy, sw, sh, dx, dy, dw, dh, rop, true);
        break;
      }
      case kSetDibToDev: {
        p.U();  // colour usage
        p.U();  // scan lines
        p.U();  // first scan line
        const double sy = p.S(), sx = p.S(), h = p.S(), w = p.S(), dy = p.S(), dx = p.S();
        DrawDib(p.Rest(), sx, sy, w, h, dx, dy, w, h, 0x00CC0020, true);
        break;
      }
      default: break;  // records that draw nothing we keep, or that we do not know
    }
  }

 private:
  template <class Object>
  void Store(Object object) {
    // Each new object takes the lowest free slot; with none free it is lost, as the slot
    // numbers of later records assume.
    if (auto slot = FPlayer.FreeSlot()) FPlayer.StoreObject(*slot, std::move(object));
  }

  const TRegionObject* Region(std::size_t index) const {
    return FPlayer.ObjectAt<TRegionObject>(index);
  }
  const TBrush* Brush(std::size_t index) const { return FPlayer.ObjectAt<TBrush>(index); }

  static TFont ReadFont(TWmfParams& p) {
    TFont font;
    font.Height = static_cast<int>(p.S());
    font.Width = static_cast<int>(p.S());
    font.Escapement = static_cast<int>(p.S());
    p.S();  // orientation
    font.Weight = static_cast<int>(p.S());
    const auto flags = p.Take(8);
    font.Italic = flags[0] != 0;
    font.Underline = flags[1] != 0;
    font.StrikeOut = flags[2] != 0;
    font.CharSet = flags[3];
    const auto name = p.Take(std::min<std::size_t>(32, p.Remaining()));
    for (std::uint8_t c : name) {
      if (c == 0) break;
      font.FaceName.push_back(static_cast<char>(c));
    }
    return font;
  }

  static TRegionObject ReadRegion(TWmfParams& p) {
    p.Skip(10);  // next in chain, object type, object count, region size
    const std::size_t scans = p.U();
    p.Skip(2 + 8);  // largest scan, bounds
    TRegionObject region;
    for (std::size_t i = 0; i < scans; ++i) {
      const std::size_t count = p.U();
      const int top = static_cast<int>(p.S()), bottom = static_cast<int>(p.S());
      for (std::size_t j = 0; j < count / 2; ++j) {
        const int left = static_cast<int>(p.S()), right = static_cast<int>(p.S());
        region.Rects.push_back({left, top, right, bottom});
      }
      p.U();  // the count again
    }
    return region;
  }

  void Blit(const TMetafileRecord& record, TWmfParams& p) {
    const bool stretch = record.Type == kStretchBlt || record.Type == kDibStretchBlt;
    // Without a bitmap the record holds one more word, and paints with the brush.
    const std::size_t plainWords = record.Type >> 8;
    const bool noBitmap = record.Params.size() == plainWords * 2;
    const std::uint32_t rop = p.U32();
    double sh = 0, sw = 0;
    if (stretch) {
      sh = p.S();
      sw = p.S();
    }
    const double sy = p.S(), sx = p.S();
    if (noBitmap) p.U();
    const double dh = p.S(), dw = p.S(), dy = p.S(), dx = p.S();
    if (!stretch) {
      sw = dw;
      sh = dh;
    }
    if (noBitmap) {
      FPlayer.DrawImage(nullptr, false, 0, 0, 0, 0, dx, dy, dw, dh, rop);
    } else if (record.Type == kDibBitBlt || record.Type == kDibStretchBlt) {
      DrawDib(p.Rest(), sx, sy, sw, sh, dx, dy, dw, dh, rop, false);
    }
    // The device-dependent bitmaps of the oldest records are not drawn.
  }

  // fromBottom: the source rows count from the bottom of a bottom-up bitmap, as a device-
  // independent copy counts them.
  void DrawDib(std::span<const std::uint8_t> dibBytes, double sx, double sy, double sw,
               double sh, double dx, double dy, double dw, double dh, std::uint32_t rop,
               bool fromBottom) {
    const auto dib = DecodeRecordDib(dibBytes);
    if (!dib) return;
    const raster::Bitmap& pixels = dib->Dib.Pixels;
    const double top = dib->SourceTop(sy, sh, fromBottom);
    FPlayer.DrawImage(&pixels, false, sx, top, sw, sh, dx, dy, dw, dh, rop);
  }

  TMetafilePlayer& FPlayer;
};

}  // namespace

void PlayWmfRecords(const TMetafileData& data, TMetafilePlayer& player, const raster::Rect& dest) {
  TWmfPlayer wmf(player, data, dest);
  for (const TMetafileRecord& record : data.Records) {
    // A record too short for its parameters is left out; the others still draw.
    try {
      wmf.Play(record);
    } catch (const platform::EStreamError&) {
    }
  }
}

}  // namespace pavona::pictures
