// Copies and fills into a bitmap. Destination coordinates are logical (the destination's origin
// applies) and only pixels inside the destination bitmap and its clip are written; source
// coordinates are plain source bitmap pixels, and destination pixels whose source pixel lies
// outside the source bitmap keep their value. Source and destination may be the same bitmap, with
// overlapping blocks: the result is always as if the whole source block had been read first.
// Callers hold the locks of the bitmaps involved.
#pragma once

#include "raster/bitmap.h"
#include "raster/geometry.h"
#include "raster/region.h"

namespace pavona::raster {

// Copies the width × height block of source at (sx, sy) to (dx, dy) pixel for pixel. A zero or
// negative width or height writes nothing.
void Blit(Bitmap& dest, int dx, int dy, int width, int height, const Bitmap& source, int sx, int sy);

inline void Blit(Bitmap& dest, Point at, const Bitmap& source, const Rect& from) {
  Blit(dest, at.X, at.Y, from.width(), from.height(), source, from.Left, from.Top);
}

// Maps the sw × sh block of source at (sx, sy) onto the dw × dh block at (dx, dy) by
// nearest-neighbour scaling: rows and columns are repeated or dropped, never blended. The i-th
// destination column (counted from dx in the direction of dw) takes the j-th source column
// (counted from sx in the direction of sw) with
//     j = floor((2i + 1) × |sw| / (2 × |dw|)),
// the source pixel under its centre, so a mirrored stretch is the mirror image of the plain one.
// A negative dw mirrors left to right: source column sx lands on column dx and the block covers
// columns dx − |dw| + 1 to dx. A negative sw likewise takes source columns sx − |sw| + 1 to sx,
// from sx leftwards. Heights behave the same. A zero extent writes nothing.
void StretchBlit(Bitmap& dest, int dx, int dy, int dw, int dh, const Bitmap& source, int sx, int sy,
                 int sw, int sh);

// The same with both blocks given as rectangles; mirroring needs the form above.
inline void StretchBlit(Bitmap& dest, const Rect& to, const Bitmap& source, const Rect& from) {
  StretchBlit(dest, to.Left, to.Top, to.width(), to.height(), source, from.Left, from.Top,
              from.width(), from.height());
}

void FillRect(Bitmap& dest, const Rect& rect, Pixel color);
// region is logical, like rectangles.
void FillRegion(Bitmap& dest, const Region& region, Pixel color);

// Outlines rect with a pen pen_width pixels wide drawn inside its edge: the pixels of rect that are
// less than pen_width from one of its sides. A pen of zero or negative width draws nothing.
void FrameRect(Bitmap& dest, const Rect& rect, int pen_width, Pixel color);

}  // namespace pavona::raster
