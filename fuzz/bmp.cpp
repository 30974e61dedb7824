// Decodes arbitrary bytes as a BMP file, and as a bare DIB of a file and of an icon, then draws
// what decoded, so every header, palette, mask and run-length path meets corrupt input.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "pictures/bitmap_image.h"
#include "pictures/dib.h"
#include "pictures/graphic.h"
#include "platform/stream.h"
#include "raster/bitmap.h"

using namespace pavona;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    pictures::TBitmap bitmap;
    platform::TMemoryStream stream(std::vector<std::uint8_t>(data, data + size));
    bitmap.LoadFromStream(stream);
    raster::Bitmap canvas(std::min(bitmap.Width(), 64), std::min(bitmap.Height(), 64));
    bitmap.Draw(canvas, raster::Point{0, 0});
  } catch (const pictures::EInvalidGraphic&) {
  } catch (const platform::EStreamError&) {
  }
  // A BMP file's DIB starts after its 14-byte file header.
  const std::span<const std::uint8_t> dib(data, size);
  for (const auto kind : {pictures::TDibKind::File, pictures::TDibKind::Icon}) {
    try {
      (void)pictures::DecodeDib(size > 14 ? dib.subspan(14) : dib, 0, kind, "invalid");
    } catch (const pictures::EInvalidGraphic&) {
    } catch (const platform::EStreamError&) {
    }
  }
  return 0;
}
