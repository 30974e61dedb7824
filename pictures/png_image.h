// TPngImage: a picture from a PNG file, decoded by libpng. Palette transparency and a
// transparent colour become alpha 0; an alpha channel is kept and blended when drawn.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>

#include "raster/bitmap.h"
#include "pictures/graphic_raster.h"

namespace pavona::pictures {

// A PNG file the decoder rejects; the message says why.
class EPngError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Decodes a whole PNG file held in memory into pixels whose fourth byte is alpha; hasAlpha tells
// whether the file has any transparency. Raises EPngError.
void DecodePng(std::span<const std::uint8_t> file, raster::Bitmap& pixels, bool& hasAlpha);

class TPngImage final : public TRasterGraphic {
 public:
  void LoadFromStream(platform::TStream& stream) override;
  std::unique_ptr<TGraphic> Clone() const override;
};

}  // namespace pavona::pictures
