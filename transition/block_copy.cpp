#include "transition/block_copy.h"

#include "raster/blit.h"

namespace pavona::transition {

void CopyBlock(raster::Bitmap& Dest, int DX, int DY, int Width, int Height,
               const raster::Bitmap& Source, int SX, int SY) {
  raster::Blit(Dest, DX, DY, Width, Height, Source, SX, SY);
}

void StretchBlock(raster::Bitmap& Dest, int DX, int DY, int DW, int DH,
                  const raster::Bitmap& Source, int SX, int SY, int SW, int SH) {
  raster::StretchBlit(Dest, DX, DY, DW, DH, Source, SX, SY, SW, SH);
}

}  // namespace pavona::transition
