#include "slideview/slide_layout.h"

#include "transition/mul_div.h"

namespace pavona::slideview {

using transition::MulDiv;

raster::Rect ComputeDisplayRect(raster::Size client, raster::Size picture,
                                const TLayoutOptions& options) {
  const int cw = client.Width - 2 * options.FrameWidth;
  const int ch = client.Height - 2 * options.FrameWidth;
  int w = picture.Width;
  int h = picture.Height;
  if (options.Proportional && w > 0 && h > 0 && (options.Stretch || cw < w || ch < h)) {
    if (static_cast<double>(ch) / h > static_cast<double>(cw) / w) {
      h = MulDiv(h, cw, w);
      w = cw;
    } else {
      w = MulDiv(w, ch, h);
      h = ch;
    }
  } else if (options.Stretch) {
    w = cw;
    h = ch;
  }
  raster::Rect r{0, 0, w, h};
  if (options.Center) {
    return r.translated(options.FrameWidth + (cw - w) / 2, options.FrameWidth + (ch - h) / 2);
  }
  return r.translated(options.FrameWidth, options.FrameWidth);
}

}  // namespace pavona::slideview
