// The drawing surface of a bitmap: a light view that works on the clip and origin the bitmap
// keeps (DrawingState). Make one wherever it is needed; the state stays with the bitmap.
//
// Two coordinate systems: bitmap pixels, and logical coordinates that are shifted by the origin
// (logical (x, y) is bitmap pixel (x + origin.X, y + origin.Y)). The clip region itself is in
// bitmap pixels; the rectangles given to the clip operations below and the clip box are logical.
// Callers hold the bitmap's lock while they draw.
#pragma once

#include <utility>

#include "raster/bitmap.h"
#include "raster/drawing_state.h"
#include "raster/geometry.h"
#include "raster/region.h"

namespace pavona::raster {

class Surface {
 public:
  explicit Surface(Bitmap& bitmap) : FBitmap(&bitmap) {}

  Bitmap& bitmap() const { return *FBitmap; }

  // Makes a copy of region (in bitmap pixels) the clip.
  void select_clip(const Region& region);
  // Removes the clip: every pixel of the bitmap may be drawn again.
  void remove_clip();
  bool has_clip() const { return FBitmap->drawing_state().clip.has_value(); }
  // The clip in bitmap pixels, or null when there is none.
  const Region* clip() const;

  // Takes the logical rect out of the clip. Without a clip the whole bitmap is the starting point.
  void exclude_clip_rect(const Rect& rect);
  // Narrows the clip to the logical rect (or makes the rect the clip when there is none).
  void intersect_clip_rect(const Rect& rect);

  // The logical bounding box of the pixels that drawing can reach (clip and bitmap together);
  // an empty rect when there are none.
  Rect clip_box() const;
  // True when some pixel of the logical rect can be drawn.
  bool rect_visible(const Rect& rect) const;

  Point origin() const { return FBitmap->drawing_state().origin; }
  // Sets the origin in bitmap pixels and returns the previous one.
  Point set_origin(Point origin);

  DrawingState state() const { return FBitmap->drawing_state(); }
  void restore(DrawingState state) { FBitmap->drawing_state() = std::move(state); }

  // The pixels drawing may touch, in bitmap pixels: clip and bitmap bounds together.
  Region drawable() const;

 private:
  Bitmap* FBitmap;
};

// Saves a surface's clip and origin and puts them back when it goes out of scope, on every path.
class SavedDrawingState {
 public:
  explicit SavedDrawingState(Bitmap& bitmap) : FSurface(bitmap), FSaved(FSurface.state()) {}
  explicit SavedDrawingState(Surface surface) : FSurface(surface), FSaved(FSurface.state()) {}
  ~SavedDrawingState() { FSurface.restore(std::move(FSaved)); }

  SavedDrawingState(const SavedDrawingState&) = delete;
  SavedDrawingState& operator=(const SavedDrawingState&) = delete;

 private:
  Surface FSurface;
  DrawingState FSaved;
};

}  // namespace pavona::raster
