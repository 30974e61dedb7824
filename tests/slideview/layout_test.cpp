// Where the picture appears in the control.
#include <gtest/gtest.h>

#include "slideview/slide_layout.h"

namespace pavona::slideview {
namespace {

TEST(LayoutTest, PlacesThePictureAsTheOptionsSay) {
  struct Case {
    raster::Size client, picture;
    TLayoutOptions options;
    raster::Rect expected;
  };
  const Case cases[] = {
      // Centred, proportional and stretched: scaled up to fit.
      {{1000, 600}, {400, 300}, {0, true, true, true}, {100, 0, 900, 600}},
      {{1000, 600}, {300, 400}, {0, true, true, true}, {275, 0, 725, 600}},
      // Proportional without stretching: natural size unless too large.
      {{1000, 600}, {400, 300}, {0, true, false, true}, {300, 150, 700, 450}},
      {{1000, 600}, {2000, 600}, {0, true, false, true}, {0, 150, 1000, 450}},
      // Equal quotients fit the height.
      {{800, 600}, {400, 300}, {0, false, true, true}, {0, 0, 800, 600}},
      // Stretched inside a frame, aspect not kept.
      {{1000, 600}, {400, 300}, {5, false, true, false}, {5, 5, 995, 595}},
      // Natural size, not centred, larger than the area: cut off at the right and bottom.
      {{100, 100}, {400, 300}, {0, false, false, false}, {0, 0, 400, 300}},
      // Centred with an odd spare width: the spare pixel lies on the right.
      {{1001, 600}, {400, 300}, {0, true, false, false}, {300, 150, 700, 450}},
      // Centred and larger than the area: cut off on both sides.
      {{100, 100}, {300, 100}, {0, true, false, false}, {-100, 0, 200, 100}},
      // A picture without pixels is never scaled.
      {{1000, 600}, {0, 0}, {0, true, false, true}, {500, 300, 500, 300}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ComputeDisplayRect(c.client, c.picture, c.options), c.expected)
        << c.picture.Width << "x" << c.picture.Height << " in " << c.client.Width << "x"
        << c.client.Height;
  }
}

}  // namespace
}  // namespace pavona::slideview
