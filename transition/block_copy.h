// The two block copies the effects draw with. Destination pixels outside Dest or outside its clip
// are left alone; Source and Dest may be the same bitmap with overlapping blocks (the result is as
// if the source block had been read completely first). Callers hold the bitmaps' locks.
#pragma once

#include "raster/bitmap.h"

namespace pavona::transition {

// Copies the Width × Height block of Source at (SX, SY) to Dest at (DX, DY), pixel for pixel.
void CopyBlock(raster::Bitmap& Dest, int DX, int DY, int Width, int Height,
               const raster::Bitmap& Source, int SX, int SY);

// Maps the SW × SH block of Source at (SX, SY) onto the DW × DH block of Dest at (DX, DY) by
// nearest neighbour. A negative DW mirrors left to right (source column SX lands on column DX,
// the block covers DX − |DW| + 1 to DX); a negative DH mirrors top to bottom.
void StretchBlock(raster::Bitmap& Dest, int DX, int DY, int DW, int DH,
                  const raster::Bitmap& Source, int SX, int SY, int SW, int SH);

}  // namespace pavona::transition
