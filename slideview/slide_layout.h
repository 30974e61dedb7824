// Where the picture appears in the control's client area: centred or not, at natural size,
// stretched, or scaled with its aspect kept, inside a border frame.
#pragma once

#include "raster/geometry.h"

namespace pavona::slideview {

struct TLayoutOptions {
  int FrameWidth = 0;
  bool Center = false;
  bool Stretch = false;
  bool Proportional = false;
};

// picture is the size of the picture being shown (PicRect); the result is DisplayRect in client
// coordinates. A picture larger than the area is cut off at the right and bottom (or on both
// sides when centred) unless Proportional scales it down.
raster::Rect ComputeDisplayRect(raster::Size client, raster::Size picture,
                                const TLayoutOptions& options);

}  // namespace pavona::slideview
