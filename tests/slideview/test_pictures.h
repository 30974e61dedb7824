// Pictures for the slide view tests: solid graphics held by a picture container.
#pragma once

#include <memory>

#include "raster/bitmap.h"
#include "pictures/graphic_raster.h"

namespace pavona::slideview::testing {

class TTestGraphic final : public pictures::TRasterGraphic {
 public:
  explicit TTestGraphic(raster::Bitmap pixels) { SetPixels(std::move(pixels), false); }
  void LoadFromStream(platform::TStream&) override { throw pictures::EInvalidGraphic("test graphic"); }
  std::unique_ptr<TGraphic> Clone() const override {
    return std::make_unique<TTestGraphic>(Pixels().clone());
  }
};

inline std::unique_ptr<TGraphic> SolidGraphic(int w, int h, raster::Pixel color) {
  raster::Bitmap pixels(w, h);
  pixels.fill(color);
  return std::make_unique<TTestGraphic>(std::move(pixels));
}

// The fade of one colour toward another with weight a of 256, channel by channel.
inline raster::Pixel Blend(raster::Pixel o, raster::Pixel n, int a) {
  raster::Pixel out = o & 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    const int oc = static_cast<int>((o >> shift) & 0xFF);
    const int nc = static_cast<int>((n >> shift) & 0xFF);
    out |= static_cast<raster::Pixel>(oc + (((nc - oc) * a) >> 8)) << shift;
  }
  return out;
}

}  // namespace pavona::slideview::testing
