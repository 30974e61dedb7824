// TJPEGImage: a picture from a JPEG file, decoded by libjpeg straight into the rows of its
// bitmap. Shown as stored: orientation metadata is not applied.
#pragma once

#include <memory>

#include "pictures/graphic.h"
#include "pictures/graphic_raster.h"

namespace pavona::pictures {

// A JPEG file the decoder rejects: "JPEG error #%d" with the decoder's message number.
class EJPEG : public EInvalidGraphic {
 public:
  explicit EJPEG(int messageCode);
  int MessageCode() const { return FMessageCode; }

 private:
  int FMessageCode;
};

class TJPEGImage final : public TRasterGraphic {
 public:
  void LoadFromStream(platform::TStream& stream) override;
  std::unique_ptr<TGraphic> Clone() const override;
};

}  // namespace pavona::pictures
