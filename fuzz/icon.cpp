// Decodes arbitrary bytes as an icon file (directory, DIB and PNG images) and draws it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "pictures/graphic.h"
#include "pictures/icon_image.h"
#include "platform/stream.h"
#include "raster/bitmap.h"

using namespace pavona;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    pictures::TIcon icon;
    platform::TMemoryStream stream(std::vector<std::uint8_t>(data, data + size));
    icon.LoadFromStream(stream);
    raster::Bitmap canvas(std::min(icon.Width(), 64), std::min(icon.Height(), 64));
    icon.Draw(canvas, raster::Point{0, 0});
  } catch (const pictures::EInvalidGraphic&) {
  } catch (const platform::EStreamError&) {
  }
  return 0;
}
