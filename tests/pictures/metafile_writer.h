// Small metafiles written record by record for the player's tests and the fuzzer's seeds. Both
// kinds make a 24 x 24 pixel picture whose logical units are pixels until the records say
// otherwise: the WMF box is 24 units at 96 units an inch, and the EMF frame is 6.35 mm on a
// reference device of 96 pixels an inch.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace pavona::pictures::testing {

using MetafileBytes = std::vector<std::uint8_t>;

// The bits of a float, for the transform records.
std::int32_t FloatBits(float value);

class EmfWriter {
 public:
  // A record of 32-bit parameters.
  EmfWriter& Record(std::uint32_t type, std::initializer_list<std::int32_t> params);
  // A record whose parameters are given as bytes (padded to four).
  EmfWriter& Raw(std::uint32_t type, const MetafileBytes& params);
  // Header, records and the end-of-file record.
  MetafileBytes Finish() const;

 private:
  MetafileBytes FRecords;
  std::uint32_t FCount = 0;
};

class WmfWriter {
 public:
  // A record of 16-bit parameter words, in the order the record stores them.
  WmfWriter& Record(std::uint16_t function, std::initializer_list<int> words);
  WmfWriter& Raw(std::uint16_t function, const MetafileBytes& params);
  // With the placeable header (box 0, 0, 24, 24 at 96 an inch) unless plain.
  MetafileBytes Finish(bool placeable = true) const;

 private:
  MetafileBytes FRecords;
  std::uint32_t FLargest = 3;
};

// Little-endian fields for Raw records.
void Put16(MetafileBytes& out, int value);
void Put32(MetafileBytes& out, std::int64_t value);

// A bottom-up 24-bit DIB (info header, no colour table, rows padded) of the given pixels
// (0xRRGGBB, top row first).
MetafileBytes Dib24(const std::vector<std::vector<std::uint32_t>>& rows);

// Record numbers used by the tests.
enum : std::uint32_t {
  kEmrPolyBezier = 2, kEmrPolygon = 3, kEmrPolyline = 4, kEmrPolyBezierTo = 5,
  kEmrPolyPolygon = 8, kEmrSetWindowExtEx = 9, kEmrSetWindowOrgEx = 10,
  kEmrSetViewportExtEx = 11, kEmrSetViewportOrgEx = 12, kEmrSetMapMode = 17, kEmrSetBkMode = 18,
  kEmrSetPolyFillMode = 19, kEmrSetTextAlign = 22, kEmrSetTextColor = 24, kEmrMoveToEx = 27,
  kEmrExcludeClipRect = 29, kEmrIntersectClipRect = 30, kEmrSaveDc = 33, kEmrRestoreDc = 34,
  kEmrSetWorldTransform = 35, kEmrModifyWorldTransform = 36, kEmrSelectObject = 37,
  kEmrCreatePen = 38, kEmrCreateBrushIndirect = 39, kEmrDeleteObject = 40, kEmrEllipse = 42,
  kEmrRectangle = 43, kEmrRoundRect = 44, kEmrArc = 45, kEmrChord = 46, kEmrPie = 47,
  kEmrLineTo = 54, kEmrBeginPath = 59, kEmrEndPath = 60, kEmrCloseFigure = 61, kEmrFillPath = 62,
  kEmrStrokePath = 64, kEmrSelectClipPath = 67, kEmrAbortPath = 68, kEmrGdiComment = 70,
  kEmrExtSelectClipRgn = 75, kEmrBitBlt = 76, kEmrStretchDiBits = 81,
  kEmrExtCreateFontIndirectW = 82, kEmrExtTextOutW = 84, kEmrPolygon16 = 86,
  kEmrExtCreatePen = 95,
};

enum : std::uint16_t {
  kMetaSaveDc = 0x001E, kMetaSetBkMode = 0x0102, kMetaRestoreDc = 0x0127,
  kMetaSelectClipRegion = 0x012C, kMetaSelectObject = 0x012D, kMetaDeleteObject = 0x01F0,
  kMetaSetWindowOrg = 0x020B, kMetaSetWindowExt = 0x020C, kMetaLineTo = 0x0213,
  kMetaMoveTo = 0x0214, kMetaCreatePenIndirect = 0x02FA, kMetaCreateBrushIndirect = 0x02FC,
  kMetaPolygon = 0x0324, kMetaPolyline = 0x0325, kMetaIntersectClipRect = 0x0416,
  kMetaEllipse = 0x0418, kMetaRectangle = 0x041B, kMetaPolyPolygon = 0x0538,
  kMetaRoundRect = 0x061C, kMetaPatBlt = 0x061D, kMetaCreateRegion = 0x06FF, kMetaPie = 0x081A,
  kMetaStretchDib = 0x0F43,
};

}  // namespace pavona::pictures::testing
