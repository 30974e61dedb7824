// TMetafile: a Windows metafile (.wmf, with or without the placeable header) or an enhanced
// metafile (.emf). Its size is the placeable box or the picture frame at 96 pixels an inch;
// drawing plays its records into the destination rectangle over the pixels already there.
#pragma once

#include <memory>

#include "pictures/graphic.h"

namespace pavona::pictures {

struct TMetafileData;

class TMetafile final : public TGraphic {
 public:
  TMetafile();
  ~TMetafile() override;

  int Width() const override;
  int Height() const override;
  // True for an enhanced metafile.
  bool Enhanced() const;

  // Raises EInvalidGraphic "Metafile is not valid" for a file that is not a well-formed
  // metafile.
  void LoadFromStream(platform::TStream& stream) override;
  std::unique_ptr<TGraphic> Clone() const override;

 protected:
  void DoDraw(raster::Bitmap& canvas, const raster::Rect& dest,
              const raster::Rect& clip) const override;

 private:
  // Shared by clones: the file does not change once loaded.
  std::shared_ptr<const TMetafileData> FData;
};

}  // namespace pavona::pictures
