#include "raster/surface.h"

#include <utility>

namespace pavona::raster {

void Surface::select_clip(const Region& region) { FBitmap->drawing_state().clip = region; }

void Surface::remove_clip() { FBitmap->drawing_state().clip.reset(); }

const Region* Surface::clip() const {
  const auto& clip = FBitmap->drawing_state().clip;
  return clip ? &*clip : nullptr;
}

void Surface::exclude_clip_rect(const Rect& rect) {
  DrawingState& state = FBitmap->drawing_state();
  const Region cut = Region(rect).translated(state.origin.X, state.origin.Y);
  state.clip = state.clip ? state.clip->subtracted(cut) : Region(FBitmap->bounds()).subtracted(cut);
}

void Surface::intersect_clip_rect(const Rect& rect) {
  DrawingState& state = FBitmap->drawing_state();
  const Region keep = Region(rect).translated(state.origin.X, state.origin.Y);
  state.clip = state.clip ? state.clip->intersected(keep) : keep;
}

Region Surface::drawable() const {
  const Region* clip = this->clip();
  return clip ? clip->intersected(FBitmap->bounds()) : Region(FBitmap->bounds());
}

Rect Surface::clip_box() const {
  const Rect box = drawable().bounds();
  if (box.is_empty()) return {};
  const Point o = origin();
  return box.translated(-o.X, -o.Y);
}

bool Surface::rect_visible(const Rect& rect) const {
  const Point o = origin();
  return drawable().intersects(Region(rect).translated(o.X, o.Y).bounds());
}

Point Surface::set_origin(Point origin) {
  return std::exchange(FBitmap->drawing_state().origin, origin);
}

}  // namespace pavona::raster
