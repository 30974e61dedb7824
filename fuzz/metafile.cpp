// Reads arbitrary bytes as a metafile. One that loads is played at its natural size (when that
// is small) and stretched onto a small canvas: no record may read outside the file, draw outside
// the canvas or allocate without bound.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "pictures/graphic.h"
#include "pictures/metafile.h"
#include "platform/stream.h"
#include "raster/bitmap.h"

using pavona::pictures::EInvalidGraphic;
using pavona::pictures::TMetafile;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  pavona::platform::TMemoryStream stream(std::vector<std::uint8_t>(data, data + size));
  TMetafile metafile;
  try {
    metafile.LoadFromStream(stream);
  } catch (const EInvalidGraphic&) {
    return 0;
  }
  if (metafile.Width() <= 256 && metafile.Height() <= 256) {
    pavona::raster::Bitmap natural(metafile.Width(), metafile.Height());
    metafile.Draw(natural, pavona::raster::Point{0, 0});
  }
  pavona::raster::Bitmap canvas(48, 32);
  metafile.Draw(canvas, pavona::raster::Rect{-8, 4, 40, 40});
  return 0;
}
