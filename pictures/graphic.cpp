#include "pictures/graphic.h"

#include "raster/drawing_state.h"
#include "raster/region.h"

namespace pavona::pictures {

void TGraphic::Draw(raster::Bitmap& canvas, const raster::Rect& dest,
                    const raster::Rect& clip) const {
  if (dest.is_empty() || Empty()) return;
  const raster::DrawingState& state = canvas.drawing_state();
  const raster::Point origin = state.origin;
  const raster::Rect target = dest.translated(origin.X, origin.Y);
  const raster::Rect area =
      clip.translated(origin.X, origin.Y).intersected(target).intersected(canvas.bounds());
  if (area.is_empty()) return;
  if (!state.clip) {
    DoDraw(canvas, target, area);
    return;
  }
  for (const raster::Rect& part : state.clip->rects()) {
    const raster::Rect piece = part.intersected(area);
    if (!piece.is_empty()) DoDraw(canvas, target, piece);
  }
}

void TGraphic::Draw(raster::Bitmap& canvas, const raster::Rect& dest) const {
  // Every pixel the canvas can hold, in logical coordinates.
  const raster::Point origin = canvas.drawing_state().origin;
  Draw(canvas, dest, canvas.bounds().translated(-origin.X, -origin.Y));
}

void TGraphic::Draw(raster::Bitmap& canvas, raster::Point at) const {
  Draw(canvas, raster::Rect::FromSize(at.X, at.Y, Width(), Height()));
}

void TGraphic::Changed() const {
  if (FOnChange) FOnChange();
}

}  // namespace pavona::pictures
