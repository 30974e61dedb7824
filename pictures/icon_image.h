// TIcon: a picture from an ICO file. Of the images in the file the largest is shown (then the
// one with most colours, then the first). An image is a DIB with an AND mask, whose set bits
// leave the pixels below as they were, or with 32-bit alpha; or it is a PNG.
#pragma once

#include <memory>

#include "pictures/graphic_raster.h"

namespace pavona::pictures {

class TIcon final : public TRasterGraphic {
 public:
  // Raises EInvalidGraphic "Icon image is not valid", or the stream read error for a file cut
  // short.
  void LoadFromStream(platform::TStream& stream) override;
  std::unique_ptr<TGraphic> Clone() const override;
};

}  // namespace pavona::pictures
