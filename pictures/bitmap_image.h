// TBitmap: a picture from a BMP file (a file header followed by a device-independent bitmap).
// Drawn opaque unless its bit-field masks give it an alpha channel.
#pragma once

#include <memory>

#include "raster/bitmap.h"
#include "pictures/graphic_raster.h"

namespace pavona::pictures {

class TBitmap final : public TRasterGraphic {
 public:
  TBitmap() = default;
  // An opaque graphic holding the given pixels (their fourth byte is ignored).
  explicit TBitmap(raster::Bitmap pixels) { SetPixels(std::move(pixels), false); }

  // Raises EInvalidGraphic "Bitmap image is not valid", or the stream read error for a file cut
  // short.
  void LoadFromStream(platform::TStream& stream) override;
  std::unique_ptr<TGraphic> Clone() const override;
};

}  // namespace pavona::pictures
