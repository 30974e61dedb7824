// Plays the drawing operations that Windows metafile records describe against a device-context
// state, into a bitmap. The record readers (metafile_wmf.cpp, metafile_emf.cpp) decode records
// into these calls; coordinates given here are logical unless a name says otherwise.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "pictures/metafile_canvas.h"
#include "pictures/metafile_geometry.h"
#include "pictures/metafile_state.h"
#include "raster/bitmap.h"
#include "raster/region.h"

namespace pavona::pictures {

class TMetafileText;

// Region combine modes of clip records (RGN_AND .. RGN_COPY).
enum : int { kRgnAnd = 1, kRgnOr, kRgnXor, kRgnDiff, kRgnCopy };

// Text output flags of ExtTextOut.
enum : std::uint32_t { kEtoOpaque = 0x2, kEtoClipped = 0x4, kEtoGlyphIndex = 0x10 };

class TMetafilePlayer {
 public:
  // Draws into area of target (bitmap pixels). deviceToOutput takes the metafile's device
  // units to bitmap pixels; deviceMm is the device's size in millimetres per pixel count
  // devicePx, for the metric mapping modes.
  TMetafilePlayer(raster::Bitmap& target, const raster::Rect& area, const TMatrix& deviceToOutput,
                  TPointF devicePx, TPointF deviceMm, std::size_t objectCount);
  ~TMetafilePlayer();
  TMetafilePlayer(const TMetafilePlayer&) = delete;
  TMetafilePlayer& operator=(const TMetafilePlayer&) = delete;

  TDcState& State() { return FState; }
  // Logical coordinates to bitmap pixels, as the state now maps them.
  TMatrix Transform() const;
  // Device units to bitmap pixels.
  const TMatrix& DeviceToOutput() const { return FDeviceToOutput; }
  void ModesChanged() { FCanvas.SetMixMode(FState.MixMode); }

  // The object table. Indexes outside it are ignored.
  std::size_t ObjectCount() const { return FObjects.size(); }
  // The lowest free slot, or nothing when the table is full.
  std::optional<std::size_t> FreeSlot() const;
  void StoreObject(std::size_t index, TObject object);
  void SelectObject(std::size_t index);
  void SelectStockObject(std::uint32_t stock);
  void DeleteObject(std::size_t index);
  // The object in a slot if it is of the kind asked for.
  template <class Object>
  const Object* ObjectAt(std::size_t index) const {
    return index < FObjects.size() ? std::get_if<Object>(&FObjects[index]) : nullptr;
  }

  void SaveState();
  // relative < 0 goes back that many saves; a positive level restores the level-th save.
  void RestoreState(int level);

  void MoveTo(TPointF p);
  void LineTo(TPointF p);
  void Polyline(std::span<const TPointF> points, bool fromCurrent);
  void PolyBezier(std::span<const TPointF> points, bool fromCurrent);
  void PolyPolygon(std::span<const std::vector<TPointF>> polygons);
  void PolyPolyline(std::span<const std::vector<TPointF>> polylines);
  void Rectangle(double l, double t, double r, double b);
  void RoundRect(double l, double t, double r, double b, double cornerW, double cornerH);
  void Ellipse(double l, double t, double r, double b);
  enum class TArcKind { Arc, ArcTo, Chord, Pie };
  void Arc(TArcKind kind, double l, double t, double r, double b, TPointF start, TPointF end);
  void AngleArc(TPointF centre, double radius, double startDegrees, double sweepDegrees);
  void SetPixel(TPointF p, raster::Pixel colour);

  void BeginPath();
  void EndPath() { FInPath = false; }
  void AbortPath();
  void CloseFigure();
  void FillPath();
  void StrokePath();
  void StrokeAndFillPath();
  void SelectClipPath(int mode);

  // region in bitmap pixels; none with kRgnCopy removes the clip.
  void CombineClip(const std::optional<raster::Region>& region, int mode);
  void IntersectClipRect(double l, double t, double r, double b);
  void ExcludeClipRect(double l, double t, double r, double b);
  void OffsetClip(double dx, double dy);
  // A region object in logical units to bitmap pixels.
  raster::Region LogicalRegion(const TRegionObject& region) const;
  // Device rectangles (a clip region record) to bitmap pixels.
  raster::Region DeviceRegion(std::span<const raster::Rect> rects) const;

  void FillRegion(const raster::Region& region, const TBrush& brush);
  void FrameRegion(const raster::Region& region, const TBrush& brush, int width, int height);
  void InvertRegion(const raster::Region& region);

  // Copies the source block (image pixels, top-down rows) of image, or none for a pattern
  // operation, onto the logical rectangle (x, y, w, h) by the raster operation.
  void DrawImage(const raster::Bitmap* image, bool pixelAlpha, double sx, double sy, double sw,
                 double sh, double x, double y, double w, double h, std::uint32_t rop,
                 int constantAlpha = -1);

  void Text(TPointF reference, const std::u32string& text, std::span<const double> advances,
            std::uint32_t options, const std::optional<raster::Rect>& logicalRect);

 private:
  struct TFigure {
    TContour Points;  // bitmap pixels
    bool Closed = false;
  };

  TFill MakeFill(const TBrush& brush) const;
  bool PenIsNull() const;
  // The pen's width in pixels (1 for a thin pen).
  int PenPixels() const;
  void Draw(std::vector<TFigure> figures, bool fill);
  void FillFigures(const std::vector<TFigure>& figures);
  void StrokeFigures(const std::vector<TFigure>& figures);
  void StrokeWide(const std::vector<TFigure>& figures, int width);
  // Counts points into the path; false when they would pass its limit.
  bool PathHasRoom(std::size_t points);
  void ClearPath();
  // Extends the open figure of the path (starting one at the current position) by points.
  void ExtendPath(const TContour& points);
  bool AxisAlignedRect(double l, double t, double r, double b, raster::Rect& device) const;
  TContour MapAll(std::span<const TPointF> points) const;
  TContour ArcPoints(double l, double t, double r, double b, TPointF start, TPointF end) const;
  void ClipChanged();

  TMetafileCanvas FCanvas;
  TMatrix FDeviceToOutput;
  TPointF FDevicePx;
  TPointF FDeviceMm;
  TDcState FState;
  std::vector<TDcState> FSaved;
  std::vector<TObject> FObjects;
  bool FInPath = false;
  std::vector<TFigure> FPath;
  std::size_t FPathPoints = 0;
  bool FFigureOpen = false;
  std::unique_ptr<TMetafileText> FText;
};

// A COLORREF (0x00BBGGRR) as a pixel.
raster::Pixel ColourOf(std::uint32_t colorRef);

}  // namespace pavona::pictures
