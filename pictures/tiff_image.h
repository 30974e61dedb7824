// TWICImage: the graphic of the platform's imaging component, which here decodes TIFF files
// through libtiff (any variant libtiff can turn into RGBA). Drawn opaque.
#pragma once

#include <memory>

#include "pictures/graphic_raster.h"

namespace pavona::pictures {

class TWICImage final : public TRasterGraphic {
 public:
  // Raises EInvalidGraphic "TIFF image is not valid" for a file libtiff rejects.
  void LoadFromStream(platform::TStream& stream) override;
  std::unique_ptr<TGraphic> Clone() const override;
};

}  // namespace pavona::pictures
