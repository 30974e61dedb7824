#include "pictures/metafile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "pictures/metafile_text.h"
#include "pictures/picture.h"
#include "raster/region.h"
#include "tests/pictures/metafile_writer.h"
#include "tests/pictures/picture_fixtures.h"

namespace pavona::pictures::testing {
namespace {

using raster::Pixel;
using raster::Rect;

constexpr Pixel kWhite = 0xFFFFFF;
constexpr Pixel kBlack = 0x000000;
constexpr Pixel kRed = 0xFF0000;
constexpr Pixel kBlue = 0x0000FF;
constexpr int kSide = 24;
// COLORREFs (0x00BBGGRR) of the same colours.
constexpr int kRefRed = 0x0000FF;
constexpr int kRefBlue = 0xFF0000;

// What a pixel should be; nothing where the test does not care (the rim of a curve).
using Expected = std::function<std::optional<Pixel>(int x, int y)>;

// Rectangles painted in order over white.
Expected Paint(std::vector<std::pair<Rect, Pixel>> paints) {
  return [paints](int x, int y) -> std::optional<Pixel> {
    Pixel p = kWhite;
    for (const auto& [rect, colour] : paints) {
      if (rect.contains(x, y)) p = colour;
    }
    return p;
  };
}

Expected InRegion(const raster::Region& region, Pixel colour) {
  return [region, colour](int x, int y) -> std::optional<Pixel> {
    return region.contains(x, y) ? colour : kWhite;
  };
}

raster::Bitmap Play(const MetafileBytes& bytes, int side = kSide) {
  TMetafile metafile;
  platform::TMemoryStream stream(bytes);
  metafile.LoadFromStream(stream);
  raster::Bitmap canvas(side, side);
  canvas.fill(kWhite);
  metafile.Draw(canvas, Rect{0, 0, side, side});
  return canvas;
}

// Every pixel checked; a failure prints the picture with the wrong pixels marked.
void ExpectPixels(const raster::Bitmap& bitmap, const Expected& expected) {
  std::string map;
  bool ok = true;
  for (int y = 0; y < bitmap.height(); ++y) {
    for (int x = 0; x < bitmap.width(); ++x) {
      const Pixel got = bitmap.pixel(x, y) & 0xFFFFFF;
      const auto want = expected(x, y);
      const bool good = !want || *want == got;
      ok = ok && good;
      map += !good ? 'X' : got == kWhite ? '.' : got == kBlack ? '#' : got == kRed ? 'r' : 'o';
    }
    map += '\n';
  }
  EXPECT_TRUE(ok) << "X marks a wrong pixel:\n" << map;
}

// Objects the cases share: a black one-pixel pen in slot 1, a red brush in 2, a null pen in 3.
EmfWriter EmfWithObjects() {
  EmfWriter emf;
  emf.Record(kEmrCreatePen, {1, 0, 0, 0, 0})
      .Record(kEmrCreateBrushIndirect, {2, 0, kRefRed, 0})
      .Record(kEmrCreatePen, {3, 5, 0, 0, 0})
      .Record(kEmrSelectObject, {1})
      .Record(kEmrSelectObject, {2});
  return emf;
}

// The same in a WMF: pen 0, brush 1, null pen 2.
WmfWriter WmfWithObjects() {
  WmfWriter wmf;
  wmf.Record(kMetaCreatePenIndirect, {0, 0, 0, 0, 0})
      .Record(kMetaCreateBrushIndirect, {0, kRefRed, 0, 0})
      .Record(kMetaCreatePenIndirect, {5, 0, 0, 0, 0})
      .Record(kMetaSelectObject, {0})
      .Record(kMetaSelectObject, {1});
  return wmf;
}

struct PlayCase {
  const char* name;
  std::function<MetafileBytes()> file;
  Expected expected;
  int side = kSide;
};

void PrintTo(const PlayCase& c, std::ostream* os) { *os << c.name; }

class MetafilePlay : public ::testing::TestWithParam<PlayCase> {};

TEST_P(MetafilePlay, DrawsEveryPixelAsExpected) {
  ExpectPixels(Play(GetParam().file(), GetParam().side), GetParam().expected);
}

// A quarter of the disc of radius 8 around (12, 12): sure pixels only.
std::optional<Pixel> Quarter(int x, int y) {
  const double d = std::hypot(x + 0.5 - 12, y + 0.5 - 12);
  if (d > 9.5 || x < 11 || y > 12) return kWhite;
  if (d < 6.5 && x >= 13 && y <= 10) return kRed;
  return std::nullopt;
}

const PlayCase kShapes[] = {
    {"RectangleWithPenAndBrush",
     [] { return EmfWithObjects().Record(kEmrRectangle, {2, 3, 12, 9}).Finish(); },
     Paint({{{2, 3, 12, 9}, kBlack}, {{3, 4, 11, 8}, kRed}})},
    {"RectangleWithoutPenLosesItsLastRowAndColumn",
     [] {
       return EmfWithObjects()
           .Record(kEmrSelectObject, {3})
           .Record(kEmrRectangle, {2, 3, 12, 9})
           .Finish();
     },
     Paint({{{2, 3, 11, 8}, kRed}})},
    {"WmfRectangleParametersAreReversed",
     [] { return WmfWithObjects().Record(kMetaRectangle, {9, 12, 3, 2}).Finish(); },
     Paint({{{2, 3, 12, 9}, kBlack}, {{3, 4, 11, 8}, kRed}})},
    {"PolygonCoversPixelCentresInside",
     [] {
       return EmfWithObjects()
           .Record(kEmrSelectObject, {3})
           .Record(kEmrPolygon, {0, 0, 0, 0, 4, 4, 4, 20, 4, 20, 10, 4, 10})
           .Finish();
     },
     Paint({{{4, 4, 20, 10}, kRed}})},
    {"Polygon16AndWmfPolygonAgree",
     [] {
       return WmfWithObjects()
           .Record(kMetaSelectObject, {2})
           .Record(kMetaPolygon, {4, 4, 4, 20, 4, 20, 10, 4, 10})
           .Finish();
     },
     Paint({{{4, 4, 20, 10}, kRed}})},
    {"PolyPolygonAlternateLeavesTheHole",
     [] {
       return WmfWithObjects()
           .Record(kMetaSelectObject, {2})
           .Record(kMetaPolyPolygon, {2, 4, 4, 2, 2, 22, 2, 22, 22, 2, 22, 8, 8, 16, 8, 16, 16,
                                      8, 16})
           .Finish();
     },
     Paint({{{2, 2, 22, 22}, kRed}, {{8, 8, 16, 16}, kWhite}})},
    {"LineLeavesOutItsLastPoint",
     [] {
       return EmfWithObjects()
           .Record(kEmrMoveToEx, {3, 5})
           .Record(kEmrLineTo, {15, 5})
           .Record(kEmrLineTo, {15, 9})
           .Finish();
     },
     Paint({{{3, 5, 15, 6}, kBlack}, {{15, 5, 16, 9}, kBlack}})},
    {"WmfPolyline",
     [] { return WmfWithObjects().Record(kMetaPolyline, {3, 3, 5, 15, 5, 15, 9}).Finish(); },
     Paint({{{3, 5, 15, 6}, kBlack}, {{15, 5, 16, 9}, kBlack}})},
    {"StraightBezierIsALine",
     [] {
       return EmfWithObjects()
           .Record(kEmrPolyBezier, {0, 0, 0, 0, 4, 2, 7, 6, 7, 10, 7, 20, 7})
           .Finish();
     },
     Paint({{{2, 7, 20, 8}, kBlack}})},
    {"EllipseIsTheEllipticRegionOfItsBox",
     [] {
       return EmfWithObjects()
           .Record(kEmrSelectObject, {3})
           .Record(kEmrEllipse, {3, 5, 21, 17})
           .Finish();
     },
     InRegion(raster::Region::FromEllipse({3, 5, 21, 17}), kRed)},
    {"WmfEllipse",
     [] {
       return WmfWithObjects()
           .Record(kMetaSelectObject, {2})
           .Record(kMetaEllipse, {17, 21, 5, 3})
           .Finish();
     },
     InRegion(raster::Region::FromEllipse({3, 5, 21, 17}), kRed)},
    {"RoundRectIsTheRoundedRegionOfItsBox",
     [] {
       return WmfWithObjects()
           .Record(kMetaSelectObject, {2})
           .Record(kMetaRoundRect, {8, 8, 20, 22, 2, 2})
           .Finish();
     },
     InRegion(raster::Region::FromRoundRect({2, 2, 22, 20}, 8, 8), kRed)},
    {"PieFromTheRightRadiusToTheTopOne",
     [] {
       return EmfWithObjects()
           .Record(kEmrSelectObject, {3})
           .Record(kEmrPie, {4, 4, 20, 20, 20, 12, 12, 4})
           .Finish();
     },
     Quarter},
    {"WmfPieRunsCounterClockwise",
     [] {
       return WmfWithObjects()
           .Record(kMetaSelectObject, {2})
           .Record(kMetaPie, {4, 12, 12, 20, 20, 20, 4, 4})
           .Finish();
     },
     Quarter},
    {"WidePenWithFlatCapsIsABar",
     [] {
       // Geometric, flat caps, width 3.
       return EmfWithObjects()
           .Record(kEmrExtCreatePen, {4, 0, 0, 0, 0, 0x10200, 3, 0, kRefBlue, 0, 0})
           .Record(kEmrSelectObject, {4})
           .Record(kEmrMoveToEx, {4, 12})
           .Record(kEmrLineTo, {20, 12})
           .Finish();
     },
     Paint({{{4, 11, 20, 14}, kBlue}})},
    {"DashedPenStartsWithADash",
     [] {
       return EmfWithObjects()
           .Record(kEmrCreatePen, {4, 1, 0, 0, 0})
           .Record(kEmrSelectObject, {4})
           .Record(kEmrMoveToEx, {0, 3})
           .Record(kEmrLineTo, {24, 3})
           .Finish();
     },
     Paint({{{0, 3, 18, 4}, kBlack}})},
    {"HatchOverATransparentBackground",
     [] {
       return EmfWithObjects()
           .Record(kEmrSetBkMode, {1})
           .Record(kEmrCreateBrushIndirect, {4, 2, kRefBlue, 0})  // horizontal hatch
           .Record(kEmrSelectObject, {4})
           .Record(kEmrSelectObject, {3})
           .Record(kEmrRectangle, {0, 0, 25, 25})
           .Finish();
     },
     [](int, int y) -> std::optional<Pixel> { return y % 8 == 0 ? kBlue : kWhite; }},
};
INSTANTIATE_TEST_SUITE_P(Shapes, MetafilePlay, ::testing::ValuesIn(kShapes),
                         [](const auto& info) { return std::string(info.param.name); });

const PlayCase kMappings[] = {
    {"WorldTransformScales",
     [] {
       return EmfWithObjects()
           .Record(kEmrSelectObject, {3})
           .Record(kEmrSetWorldTransform,
                   {FloatBits(2), 0, 0, FloatBits(2), FloatBits(1), FloatBits(0)})
           .Record(kEmrRectangle, {1, 2, 6, 6})
           .Finish();
     },
     Paint({{{3, 4, 12, 11}, kRed}})},
    {"ModifiedTransformTurnsAQuarter",
     [] {
       // x' = -y + 24, y' = x: the bar along x stands up along y.
       return EmfWithObjects()
           .Record(kEmrSelectObject, {3})
           .Record(kEmrModifyWorldTransform,
                   {0, FloatBits(1), FloatBits(-1), 0, FloatBits(24), 0, 4})
           .Record(kEmrPolygon, {0, 0, 0, 0, 4, 2, 4, 20, 4, 20, 8, 2, 8})
           .Finish();
     },
     Paint({{{16, 2, 20, 20}, kRed}})},
    {"AnisotropicWindowAndViewport",
     [] {
       return EmfWithObjects()
           .Record(kEmrSelectObject, {3})
           .Record(kEmrSetMapMode, {8})
           .Record(kEmrSetWindowOrgEx, {10, 10})
           .Record(kEmrSetWindowExtEx, {10, 10})
           .Record(kEmrSetViewportOrgEx, {4, 4})
           .Record(kEmrSetViewportExtEx, {20, 10})
           .Record(kEmrRectangle, {10, 10, 16, 16})
           .Finish();
     },
     Paint({{{4, 4, 15, 9}, kRed}})},
    {"WmfWindowFillsThePicture",
     [] {
       return WmfWithObjects()
           .Record(kMetaSelectObject, {2})
           .Record(kMetaSetWindowOrg, {100, 100})
           .Record(kMetaSetWindowExt, {12, 12})
           .Record(kMetaRectangle, {107, 106, 101, 102})
           .Finish();
     },
     Paint({{{4, 2, 11, 13}, kRed}})},
    {"WmfNegativeWindowExtentTurnsItUpsideDown",
     [] {
       return WmfWithObjects()
           .Record(kMetaSelectObject, {2})
           .Record(kMetaSetWindowOrg, {24, 0})
           .Record(kMetaSetWindowExt, {-24, 24})
           .Record(kMetaRectangle, {24, 10, 20, 2})
           .Finish();
     },
     Paint({{{2, 0, 9, 3}, kRed}})},
    {"DrawnStretchedToTwiceItsSize",
     [] {
       return EmfWithObjects()
           .Record(kEmrSelectObject, {3})
           .Record(kEmrRectangle, {2, 3, 7, 9})
           .Finish();
     },
     Paint({{{4, 6, 13, 17}, kRed}}), 2 * kSide},
};
INSTANTIATE_TEST_SUITE_P(Mappings, MetafilePlay, ::testing::ValuesIn(kMappings),
                         [](const auto& info) { return std::string(info.param.name); });

// A clip region record of rectangles (device units).
MetafileBytes ClipRegion(int mode, std::vector<Rect> rects) {
  MetafileBytes params;
  Put32(params, 32 + 16 * static_cast<int>(rects.size()));
  Put32(params, mode);
  Put32(params, 32);
  Put32(params, 1);
  Put32(params, static_cast<int>(rects.size()));
  Put32(params, 16 * static_cast<int>(rects.size()));
  for (int v : {0, 0, 24, 24}) Put32(params, v);
  for (const Rect& r : rects) {
    for (int v : {r.Left, r.Top, r.Right, r.Bottom}) Put32(params, v);
  }
  return params;
}

const PlayCase kClips[] = {
    {"IntersectClipRect",
     [] {
       return EmfWithObjects()
           .Record(kEmrSelectObject, {3})
           .Record(kEmrIntersectClipRect, {5, 6, 15, 12})
           .Record(kEmrRectangle, {0, 0, 25, 25})
           .Finish();
     },
     Paint({{{5, 6, 15, 12}, kRed}})},
    {"ExcludeClipRect",
     [] {
       return EmfWithObjects()
           .Record(kEmrSelectObject, {3})
           .Record(kEmrExcludeClipRect, {5, 6, 15, 12})
           .Record(kEmrRectangle, {0, 0, 25, 25})
           .Finish();
     },
     Paint({{{0, 0, 24, 24}, kRed}, {{5, 6, 15, 12}, kWhite}})},
    {"ClipRegionCopiedThenCombined",
     [] {
       return EmfWithObjects()
           .Record(kEmrSelectObject, {3})
           .Raw(kEmrExtSelectClipRgn, ClipRegion(5, {{2, 2, 12, 12}, {12, 12, 22, 22}}))
           .Raw(kEmrExtSelectClipRgn, ClipRegion(1, {{0, 0, 24, 16}}))
           .Record(kEmrRectangle, {0, 0, 25, 25})
           .Finish();
     },
     Paint({{{2, 2, 12, 12}, kRed}, {{12, 12, 22, 16}, kRed}})},
    {"ClipRemovedByAnEmptyCopy",
     [] {
       return EmfWithObjects()
           .Record(kEmrSelectObject, {3})
           .Record(kEmrIntersectClipRect, {5, 6, 15, 12})
           .Record(kEmrExtSelectClipRgn, {0, 5})
           .Record(kEmrRectangle, {0, 0, 25, 25})
           .Finish();
     },
     Paint({{{0, 0, 24, 24}, kRed}})},
    {"ClipPathOfATriangle",
     [] {
       return EmfWithObjects()
           .Record(kEmrSelectObject, {3})
           .Record(kEmrBeginPath, {})
           .Record(kEmrPolygon, {0, 0, 0, 0, 4, 0, 0, 24, 0, 24, 12, 0, 12})
           .Record(kEmrEndPath, {})
           .Record(kEmrSelectClipPath, {5})
           .Record(kEmrRectangle, {0, 6, 25, 25})
           .Finish();
     },
     Paint({{{0, 6, 24, 12}, kRed}})},
    {"WmfClipRegionObject",
     [] {
       // One scan of one span: x 4..10 over rows 3..9.
       return WmfWithObjects()
           .Record(kMetaSelectObject, {2})
           .Record(kMetaCreateRegion,
                   {0, 6, 0, 0, 0, 1, 2, 4, 3, 10, 9, 2, 3, 9, 4, 10, 2})
           .Record(kMetaSelectClipRegion, {3})
           .Record(kMetaRectangle, {25, 25, 0, 0})
           .Finish();
     },
     Paint({{{4, 3, 10, 9}, kRed}})},
    {"WmfIntersectClipRect",
     [] {
       return WmfWithObjects()
           .Record(kMetaSelectObject, {2})
           .Record(kMetaIntersectClipRect, {12, 15, 6, 5})
           .Record(kMetaRectangle, {25, 25, 0, 0})
           .Finish();
     },
     Paint({{{5, 6, 15, 12}, kRed}})},
};
INSTANTIATE_TEST_SUITE_P(Clips, MetafilePlay, ::testing::ValuesIn(kClips),
                         [](const auto& info) { return std::string(info.param.name); });

const PlayCase kPaths[] = {
    {"FilledPathOfLines",
     [] {
       return EmfWithObjects()
           .Record(kEmrBeginPath, {})
           .Record(kEmrMoveToEx, {3, 4})
           .Record(kEmrLineTo, {19, 4})
           .Record(kEmrLineTo, {19, 14})
           .Record(kEmrLineTo, {3, 14})
           .Record(kEmrCloseFigure, {})
           .Record(kEmrEndPath, {})
           .Record(kEmrFillPath, {0, 0, 0, 0})
           .Finish();
     },
     Paint({{{3, 4, 19, 14}, kRed}})},
    {"StrokedPathLeavesTheInside",
     [] {
       return EmfWithObjects()
           .Record(kEmrBeginPath, {})
           .Record(kEmrMoveToEx, {3, 4})
           .Record(kEmrLineTo, {19, 4})
           .Record(kEmrLineTo, {19, 14})
           .Record(kEmrEndPath, {})
           .Record(kEmrStrokePath, {0, 0, 0, 0})
           .Finish();
     },
     Paint({{{3, 4, 19, 5}, kBlack}, {{19, 4, 20, 14}, kBlack}})},
    {"TwoFiguresByWindingFillTheirOverlapOnce",
     [] {
       return EmfWithObjects()
           .Record(kEmrSetPolyFillMode, {2})
           .Record(kEmrBeginPath, {})
           .Record(kEmrRectangle, {2, 2, 14, 14})
           .Record(kEmrRectangle, {8, 8, 20, 20})
           .Record(kEmrEndPath, {})
           .Record(kEmrFillPath, {0, 0, 0, 0})
           .Finish();
     },
     Paint({{{2, 2, 14, 14}, kRed}, {{8, 8, 20, 20}, kRed}})},
    {"AbortedPathDrawsNothing",
     [] {
       return EmfWithObjects()
           .Record(kEmrBeginPath, {})
           .Record(kEmrRectangle, {2, 2, 14, 14})
           .Record(kEmrAbortPath, {})
           .Record(kEmrFillPath, {0, 0, 0, 0})
           .Finish();
     },
     Paint({})},
};
INSTANTIATE_TEST_SUITE_P(Paths, MetafilePlay, ::testing::ValuesIn(kPaths),
                         [](const auto& info) { return std::string(info.param.name); });

// StretchDIBits of a 2 x 2 DIB (red, blue / black, white) onto the logical rectangle.
MetafileBytes StretchDiBits(int x, int y, int w, int h, std::uint32_t rop = 0x00CC0020) {
  const MetafileBytes dib = Dib24({{kRed, kBlue}, {kBlack, kWhite}});
  MetafileBytes params;
  for (int v : {0, 0, 0, 0, x, y, 0, 0, 2, 2}) Put32(params, v);
  Put32(params, 80);  // header offset: record header (8) + 72 bytes of fields
  Put32(params, 40);
  Put32(params, 120);
  Put32(params, static_cast<std::int64_t>(dib.size() - 40));
  Put32(params, 0);
  Put32(params, rop);
  Put32(params, w);
  Put32(params, h);
  params.insert(params.end(), dib.begin(), dib.end());
  return params;
}

const PlayCase kBitmaps[] = {
    {"StretchDiBitsDoublesEachPixel",
     [] { return EmfWithObjects().Raw(kEmrStretchDiBits, StretchDiBits(4, 6, 4, 4)).Finish(); },
     Paint({{{4, 6, 6, 8}, kRed}, {{6, 6, 8, 8}, kBlue}, {{4, 8, 6, 10}, kBlack}})},
    {"NegativeWidthMirrors",
     [] { return EmfWithObjects().Raw(kEmrStretchDiBits, StretchDiBits(8, 6, -4, 4)).Finish(); },
     Paint({{{6, 6, 8, 8}, kRed}, {{4, 6, 6, 8}, kBlue}, {{6, 8, 8, 10}, kBlack}})},
    {"SourceInvertOverWhite",
     [] {
       return EmfWithObjects()
           .Raw(kEmrStretchDiBits, StretchDiBits(4, 6, 4, 4, 0x00660046))
           .Finish();
     },
     Paint({{{4, 6, 6, 8}, 0x00FFFF}, {{6, 6, 8, 8}, 0xFFFF00}, {{4, 8, 6, 10}, kWhite},
            {{6, 8, 8, 10}, kBlack}})},
    {"BitBltWithoutSourcePaintsTheBrush",
     [] {
       MetafileBytes params;
       for (int v : {0, 0, 0, 0, 3, 4, 10, 5}) Put32(params, v);
       Put32(params, 0x00F00021);  // PATCOPY
       for (int i = 0; i < 2 + 6 + 2 + 4; ++i) Put32(params, 0);
       return EmfWithObjects().Raw(kEmrBitBlt, params).Finish();
     },
     Paint({{{3, 4, 13, 9}, kRed}})},
    {"WmfStretchDib",
     [] {
       const MetafileBytes dib = Dib24({{kRed, kBlue}, {kBlack, kWhite}});
       MetafileBytes params;
       Put32(params, 0x00CC0020);
       for (int v : {0, 2, 2, 0, 0, 4, 4, 6, 4}) Put16(params, v);
       params.insert(params.end(), dib.begin(), dib.end());
       return WmfWithObjects().Raw(kMetaStretchDib, params).Finish();
     },
     Paint({{{4, 6, 6, 8}, kRed}, {{6, 6, 8, 8}, kBlue}, {{4, 8, 6, 10}, kBlack}})},
};
INSTANTIATE_TEST_SUITE_P(Bitmaps, MetafilePlay, ::testing::ValuesIn(kBitmaps),
                         [](const auto& info) { return std::string(info.param.name); });

const PlayCase kStates[] = {
    {"RestoreBringsBackBrushClipAndTransform",
     [] {
       return EmfWithObjects()
           .Record(kEmrSelectObject, {3})
           .Record(kEmrSaveDc, {})
           .Record(kEmrCreateBrushIndirect, {4, 0, kRefBlue, 0})
           .Record(kEmrSelectObject, {4})
           .Record(kEmrIntersectClipRect, {0, 0, 4, 4})
           .Record(kEmrSetWorldTransform, {FloatBits(3), 0, 0, FloatBits(3), 0, 0})
           .Record(kEmrRestoreDc, {-1})
           .Record(kEmrRectangle, {2, 2, 9, 9})
           .Finish();
     },
     Paint({{{2, 2, 8, 8}, kRed}})},
    {"WmfRestoreOfTwoLevels",
     [] {
       return WmfWithObjects()
           .Record(kMetaSaveDc, {})
           .Record(kMetaSelectObject, {2})
           .Record(kMetaSaveDc, {})
           .Record(kMetaIntersectClipRect, {4, 4, 0, 0})
           .Record(kMetaRestoreDc, {0xFFFE})
           .Record(kMetaRectangle, {9, 9, 2, 2})
           .Finish();
     },
     Paint({{{2, 2, 9, 9}, kBlack}, {{3, 3, 8, 8}, kRed}})},
    {"DeletedSelectedBrushStaysInUse",
     [] {
       return EmfWithObjects()
           .Record(kEmrSelectObject, {3})
           .Record(kEmrDeleteObject, {2})
           .Record(kEmrRectangle, {2, 2, 9, 9})
           .Record(kEmrSelectObject, {2})  // an empty slot: nothing changes
           .Record(kEmrRectangle, {12, 12, 19, 19})
           .Finish();
     },
     Paint({{{2, 2, 8, 8}, kRed}, {{12, 12, 18, 18}, kRed}})},
    {"WmfCreateTakesTheFreedSlot",
     [] {
       return WmfWithObjects()
           .Record(kMetaSelectObject, {2})
           .Record(kMetaDeleteObject, {1})
           .Record(kMetaCreateBrushIndirect, {0, kRefBlue & 0xFFFF, kRefBlue >> 16, 0})
           .Record(kMetaSelectObject, {1})
           .Record(kMetaRectangle, {9, 9, 2, 2})
           .Finish();
     },
     Paint({{{2, 2, 8, 8}, kBlue}})},
    {"StockObjects",
     [] {
       return EmfWithObjects()
           .Record(kEmrSelectObject, {static_cast<std::int32_t>(0x80000000u | 8)})  // null pen
           .Record(kEmrSelectObject, {static_cast<std::int32_t>(0x80000000u | 4)})  // black
           .Record(kEmrRectangle, {2, 2, 9, 9})
           .Record(kEmrSelectObject, {static_cast<std::int32_t>(0x80000000u | 5)})  // null
           .Record(kEmrSelectObject, {static_cast<std::int32_t>(0x80000000u | 7)})  // black pen
           .Record(kEmrRectangle, {12, 12, 19, 19})
           .Finish();
     },
     Paint({{{2, 2, 8, 8}, kBlack}, {{12, 12, 19, 19}, kBlack}, {{13, 13, 18, 18}, kWhite}})},
    {"UnknownRecordsAndCommentsAreSkipped",
     [] {
       return EmfWithObjects()
           .Record(kEmrSelectObject, {3})
           .Record(kEmrGdiComment, {8, 0x2B464D45, 0x4001, 12})  // an EMF+ record
           .Record(300, {1, 2, 3})
           .Record(kEmrRectangle, {2, 2, 9, 9})
           .Finish();
     },
     Paint({{{2, 2, 8, 8}, kRed}})},
};
INSTANTIATE_TEST_SUITE_P(States, MetafilePlay, ::testing::ValuesIn(kStates),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Metafile, SizeComesFromTheFrameOrThePlaceableBox) {
  EXPECT_EQ(Decode<TMetafile>(EmfWriter().Finish())->Width(), 24);
  EXPECT_EQ(Decode<TMetafile>(EmfWriter().Finish())->Height(), 24);
  EXPECT_TRUE(Decode<TMetafile>(EmfWriter().Finish())->Enhanced());
  EXPECT_EQ(Decode<TMetafile>(WmfWriter().Finish())->Width(), 24);
  EXPECT_FALSE(Decode<TMetafile>(WmfWriter().Finish())->Enhanced());
  // A box of 1440 units an inch: 2880 x 720 units are 192 x 48 pixels.
  MetafileBytes wmf = WmfWriter().Finish();
  wmf[10] = 2880 & 0xFF, wmf[11] = 2880 >> 8, wmf[12] = 720 & 0xFF, wmf[13] = 720 >> 8;
  wmf[14] = 1440 & 0xFF, wmf[15] = 1440 >> 8;
  EXPECT_EQ(Decode<TMetafile>(wmf)->Width(), 192);
  EXPECT_EQ(Decode<TMetafile>(wmf)->Height(), 48);
  // Without the box, the window the records set.
  const auto plain = Decode<TMetafile>(WmfWriter().Record(kMetaSetWindowExt, {30, 40}).Finish(false));
  EXPECT_EQ(plain->Width(), 40);
  EXPECT_EQ(plain->Height(), 30);
}

TEST(Metafile, LeavesUnpaintedPixelsAsTheyWere) {
  const auto metafile = Decode<TMetafile>(
      EmfWithObjects().Record(kEmrSelectObject, {3}).Record(kEmrRectangle, {2, 2, 5, 5}).Finish());
  const raster::Bitmap canvas = DrawOver(*metafile, 0x123456);
  EXPECT_EQ(canvas.pixel(3, 3) & 0xFFFFFF, kRed);
  EXPECT_EQ(canvas.pixel(10, 10) & 0xFFFFFF, 0x123456u);
}

struct BadCase {
  const char* name;
  MetafileBytes bytes;
};

std::vector<BadCase> BadFiles() {
  std::vector<BadCase> cases;
  cases.push_back({"Empty", {}});
  cases.push_back({"NotAMetafile", {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}});
  MetafileBytes emf = EmfWriter().Record(kEmrRectangle, {1, 1, 2, 2}).Finish();
  cases.push_back({"EmfCutInTheHeader", MetafileBytes(emf.begin(), emf.begin() + 60)});
  MetafileBytes longer = emf;
  longer[48] += 4;  // the header counts more bytes than the file has
  cases.push_back({"EmfLongerThanTheFile", longer});
  MetafileBytes record = emf;
  record[88 + 4] = 0x40;  // the first record claims 64 bytes
  cases.push_back({"EmfRecordPastTheEnd", record});
  MetafileBytes tiny = emf;
  tiny[88 + 4] = 4;
  cases.push_back({"EmfRecordShorterThanItsHeader", tiny});
  cases.push_back({"EmfWithoutEndRecord", MetafileBytes(emf.begin(), emf.end() - 20)});
  MetafileBytes huge = emf;
  huge[34] = 0x7F;  // the frame's right edge near 2^31 hundredths of a millimetre
  cases.push_back({"EmfFrameTooLarge", huge});
  MetafileBytes wmf = WmfWriter().Record(kMetaRectangle, {4, 4, 1, 1}).Finish();
  MetafileBytes wmfRecord = wmf;
  wmfRecord[22 + 18] = 0x40;  // the first record claims 64 words
  cases.push_back({"WmfRecordPastTheEnd", wmfRecord});
  MetafileBytes zeroInch = wmf;
  zeroInch[14] = zeroInch[15] = 0;
  cases.push_back({"WmfPlaceableBoxWithoutUnits", zeroInch});
  MetafileBytes badHeader = wmf;
  badHeader[22 + 2] = 7;  // header size
  cases.push_back({"WmfWrongHeaderSize", badHeader});
  cases.push_back({"WmfWithoutAnySize", WmfWriter().Finish(false)});
  return cases;
}

TEST(Metafile, RejectsMalformedFiles) {
  for (const BadCase& c : BadFiles()) {
    EXPECT_EQ(MessageOf([&] { Decode<TMetafile>(c.bytes); }), "Metafile is not valid") << c.name;
  }
}

TEST(Metafile, PictureKeepsItsGraphicWhenAMetafileFails) {
  ScratchFolder folder;
  TPicture picture;
  picture.LoadFromFile(folder.Write("good.emf", EmfWriter().Finish()));
  const TGraphic* before = picture.Graphic();
  ASSERT_NE(dynamic_cast<const TMetafile*>(before), nullptr);
  EXPECT_EQ(MessageOf([&] { picture.LoadFromFile(folder.Write("bad.wmf", {1, 2, 3, 4})); }),
            "Metafile is not valid");
  EXPECT_EQ(picture.Graphic(), before);
}

TEST(Metafile, HostileRecordsDrawWhatTheyCanAndNoMore) {
  // A polygon claiming a million points, an object index far outside the table, a restore
  // below the first save and a huge ellipse: none may read or draw out of bounds.
  const auto metafile = Decode<TMetafile>(EmfWithObjects()
                                              .Record(kEmrPolygon, {0, 0, 0, 0, 1000000, 1, 1})
                                              .Record(kEmrSelectObject, {60000})
                                              .Record(kEmrRestoreDc, {-5})
                                              .Record(kEmrEllipse, {-2000000000, -2000000000,
                                                                    2000000000, 2000000000})
                                              .Record(kEmrSelectObject, {3})
                                              .Record(kEmrRectangle, {2, 2, 5, 5})
                                              .Finish());
  const raster::Bitmap canvas = DrawOver(*metafile, kWhite);
  EXPECT_EQ(canvas.pixel(3, 3) & 0xFFFFFF, kRed);
}

// Text needs a font of the host; where there is none the text is left out.
class MetafileText : public ::testing::Test {
 protected:
  void SetUp() override {
    if (FontFileFor("Arial", 400, false).empty()) GTEST_SKIP() << "no font on this host";
  }

  static MetafileBytes Text(int align) {
    MetafileBytes font;
    Put32(font, 4);
    for (int v : {-16, 0, 0, 0, 700}) Put32(font, v);
    for (int i = 0; i < 8; ++i) font.push_back(0);
    for (char c : std::string("Arial")) Put16(font, c);
    font.resize(4 + 20 + 8 + 64, 0);
    MetafileBytes text;
    for (int v : {0, 0, 0, 0, 1}) Put32(text, v);   // bounds, graphics mode
    Put32(text, FloatBits(1));
    Put32(text, FloatBits(1));
    for (int v : {12, 4, 2, 76, 0, 0, 0, 0, 0, 0}) Put32(text, v);  // "HI" at (12, 4)
    Put16(text, 'H');
    Put16(text, 'I');
    return EmfWithObjects()
        .Raw(kEmrExtCreateFontIndirectW, font)
        .Record(kEmrSelectObject, {4})
        .Record(kEmrSetBkMode, {1})
        .Record(kEmrSetTextColor, {kRefBlue})
        .Record(kEmrSetTextAlign, {align})
        .Raw(kEmrExtTextOutW, text)
        .Finish();
  }

  // The box around the pixels of the text colour.
  static Rect Ink(const raster::Bitmap& b) {
    Rect ink{kSide, kSide, 0, 0};
    for (int y = 0; y < b.height(); ++y) {
      for (int x = 0; x < b.width(); ++x) {
        if ((b.pixel(x, y) & 0xFFFFFF) != kBlue) continue;
        ink = {std::min(ink.Left, x), std::min(ink.Top, y), std::max(ink.Right, x + 1),
               std::max(ink.Bottom, y + 1)};
      }
    }
    return ink;
  }
};

TEST_F(MetafileText, AlignmentPlacesTheTextAroundItsReferencePoint) {
  const Rect left = Ink(Play(Text(0)));        // top left
  const Rect right = Ink(Play(Text(2)));       // top right
  const Rect centre = Ink(Play(Text(6 | 24)));  // centre, baseline
  ASSERT_FALSE(left.is_empty());
  EXPECT_GE(left.Left, 12);
  EXPECT_GE(left.Top, 4);
  EXPECT_LE(right.Right, 13);
  EXPECT_EQ(right.Top, left.Top);
  EXPECT_LT(centre.Left, 12);
  EXPECT_GT(centre.Right, 12);
  EXPECT_LE(centre.Bottom, 5);  // above the baseline at y = 4: ink in rows 0 to 4 only
}

}  // namespace
}  // namespace pavona::pictures::testing
