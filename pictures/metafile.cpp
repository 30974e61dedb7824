#include "pictures/metafile.h"

#include "pictures/byte_reader.h"
#include "pictures/metafile_data.h"
#include "pictures/metafile_player.h"

namespace pavona::pictures {

TMetafile::TMetafile() = default;
TMetafile::~TMetafile() = default;

int TMetafile::Width() const { return FData ? FData->Width : 0; }
int TMetafile::Height() const { return FData ? FData->Height : 0; }
bool TMetafile::Enhanced() const { return FData && FData->Enhanced; }

void TMetafile::LoadFromStream(platform::TStream& stream) {
  FData = std::make_shared<const TMetafileData>(ParseMetafile(ReadRemaining(stream)));
  Changed();
}

std::unique_ptr<TGraphic> TMetafile::Clone() const {
  auto copy = std::make_unique<TMetafile>();
  copy->FData = FData;
  return copy;
}

void TMetafile::DoDraw(raster::Bitmap& canvas, const raster::Rect& dest,
                       const raster::Rect& clip) const {
  const TMetafileData& data = *FData;
  if (!data.Enhanced) {
    TMetafilePlayer player(canvas, clip, TMatrix{}, {1, 1}, {1, 1}, data.ObjectCount);
    PlayWmfRecords(data, player, dest);
    return;
  }
  // The frame, in reference device pixels, fills the destination.
  const double sx = dest.width() / (data.FrameRight - data.FrameLeft);
  const double sy = dest.height() / (data.FrameBottom - data.FrameTop);
  const TMatrix deviceToOutput{sx, 0, 0, sy, dest.Left - data.FrameLeft * sx,
                               dest.Top - data.FrameTop * sy};
  TMetafilePlayer player(canvas, clip, deviceToOutput, data.DevicePx, data.DeviceMm,
                         data.ObjectCount);
  PlayEmfRecords(data, player);
}

}  // namespace pavona::pictures
