// The control as a windowed control: defaults, painting of picture, frame and background,
// layout on property changes and resizing, the background a transition starts from, input.
#include <gtest/gtest.h>

#include <memory>

#include "effects/effect_table.h"
#include "platform/headless/headless_backend.h"
#include "slideview/slide_view.h"
#include "test_pictures.h"

namespace pavona::slideview {
namespace {

using platform::headless::THeadlessBackend;
using testing::SolidGraphic;

constexpr raster::Pixel kA = raster::MakePixel(250, 0, 0);
constexpr raster::Pixel kB = raster::MakePixel(0, 0, 250);
constexpr raster::Pixel kPicture = raster::MakePixel(10, 200, 10);
constexpr raster::Pixel kBackground = raster::MakePixel(17, 34, 51);

std::unique_ptr<TGraphic> Graphic(int w, int h, std::initializer_list<raster::Pixel> pixels) {
  raster::Bitmap bitmap(w, h);
  auto it = pixels.begin();
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) bitmap.set_pixel(x, y, *it++);
  }
  return std::make_unique<testing::TTestGraphic>(std::move(bitmap));
}

class PaintTest : public ::testing::Test {
 protected:
  explicit PaintTest(raster::Size size = {100, 60}) : backend(size) {
    backend.Window().SetColor(kBackground);
    backend.Window().Show();
    view.SetAlign(alClient);
    view.SetStyle(119);
    view.SetStep(100);
  }

  // A finished transition to a solid picture.
  void ShowNow(int w, int h, raster::Pixel color) {
    view.Picture().SetGraphic(SolidGraphic(w, h, color));
    view.Execute();
    while (backend.FireFrameTimers() > 0) backend.RunUntilIdle();
    backend.RunUntilIdle();
  }

  raster::Pixel At(int x, int y) { return backend.Window().Canvas().pixel(x, y); }

  THeadlessBackend backend;
  TSlideView view{backend, effects::EffectTable};
};

TEST_F(PaintTest, Defaults) {
  EXPECT_EQ(view.BgMode(), bmTiled);
  EXPECT_EQ(view.FrameColor(), clActiveBorder);
  EXPECT_EQ(view.FrameWidth(), 0);
  EXPECT_FALSE(view.Center());
  EXPECT_FALSE(view.Stretch());
  EXPECT_FALSE(view.Proportional());
  EXPECT_TRUE(view.OverDraw());
  EXPECT_TRUE(view.Threaded());
  EXPECT_FALSE(view.Manual());
  EXPECT_EQ(view.Step(), 100);  // set by the fixture
  EXPECT_EQ(view.Delay(), 40);
  EXPECT_FALSE(view.Reverse());
  EXPECT_FALSE(view.ExactTiming());
  EXPECT_TRUE(view.Empty());
  EXPECT_FALSE(view.Busy());
  EXPECT_TRUE(view.ParentColor());
  EXPECT_FALSE(view.AutoSize());

  THeadlessBackend other;
  TSlideView fresh(other, effects::EffectTable);
  EXPECT_EQ(fresh.Style(), 51);
  EXPECT_EQ(fresh.StyleName(), "Appear and Contract to middle");
  EXPECT_EQ(fresh.Step(), 4);
  EXPECT_EQ(fresh.Width(), 100);
  EXPECT_EQ(fresh.Height(), 100);
  fresh.SetStep(0);
  EXPECT_EQ(fresh.Step(), 1);
  fresh.SetStep(250);
  EXPECT_EQ(fresh.Step(), 99);
}

TEST_F(PaintTest, ANewPictureShowsOnlyAfterExecute) {
  int changes = 0;
  view.SetOnChange([&](TCustomSlideView&) { ++changes; });
  view.Picture().SetGraphic(SolidGraphic(20, 20, kPicture));
  backend.RunUntilIdle();
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(view.Empty());
  for (int y = 0; y < 60; y += 7) {
    for (int x = 0; x < 100; x += 9) ASSERT_EQ(At(x, y), kBackground) << x << "," << y;
  }
  view.Execute();
  backend.FireFrameTimers();
  backend.RunUntilIdle();
  EXPECT_EQ(At(5, 5), kPicture);
  EXPECT_EQ(At(50, 30), kBackground);
}

TEST_F(PaintTest, FrameAroundAStretchedPictureAndClear) {
  view.SetStretch(true);
  view.SetFrameWidth(5);
  view.SetFrameColor(kA);
  ShowNow(20, 20, kPicture);
  EXPECT_EQ(view.GetDisplayRect(), (raster::Rect{5, 5, 95, 55}));
  EXPECT_EQ(At(0, 0), kA);
  EXPECT_EQ(At(4, 30), kA);
  EXPECT_EQ(At(99, 59), kA);
  EXPECT_EQ(At(5, 5), kPicture);
  EXPECT_EQ(At(94, 54), kPicture);

  view.SetFrameWidth(0);
  backend.RunUntilIdle();
  EXPECT_EQ(view.GetDisplayRect(), (raster::Rect{0, 0, 100, 60}));
  EXPECT_EQ(At(0, 0), kPicture);

  view.Clear();
  backend.RunUntilIdle();
  EXPECT_EQ(view.GetDisplayRect(), raster::Rect{});
  EXPECT_EQ(view.GetPicRect(), raster::Rect{});
  EXPECT_TRUE(view.DisplayBitmap().is_empty());
  EXPECT_EQ(At(50, 30), kBackground);
}

TEST_F(PaintTest, BackgroundModes) {
  view.BgPicture().SetGraphic(Graphic(2, 2, {kA, kB, kB, kA}));
  backend.RunUntilIdle();
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 6; ++x) EXPECT_EQ(At(x, y), (x + y) % 2 == 0 ? kA : kB) << x << "," << y;
  }
  EXPECT_EQ(At(99, 59), kA);

  view.BgPicture().SetGraphic(Graphic(2, 1, {kA, kB}));
  view.SetBgMode(bmStretched);
  backend.RunUntilIdle();
  EXPECT_EQ(At(10, 30), kA);
  EXPECT_EQ(At(90, 30), kB);

  view.BgPicture().SetGraphic(SolidGraphic(10, 10, kA));
  view.SetBgMode(bmCentered);
  backend.RunUntilIdle();
  EXPECT_EQ(At(45, 25), kA);
  EXPECT_EQ(At(54, 34), kA);
  EXPECT_EQ(At(44, 25), kBackground);
  EXPECT_EQ(At(55, 35), kBackground);

  view.SetBgMode(bmNone);
  backend.RunUntilIdle();
  EXPECT_EQ(At(50, 30), kBackground);
}

TEST_F(PaintTest, ATransitionFromTheBackgroundStartsFromWhatLiesBehindThePicture) {
  view.BgPicture().SetGraphic(Graphic(2, 1, {kA, kB}));
  view.SetBgMode(bmStretched);
  view.SetCenter(true);
  raster::Pixel left = 0;
  raster::Pixel right = 0;
  view.SetOnStart([&](TCustomSlideView&, raster::Bitmap&, raster::Bitmap& screen) {
    left = screen.pixel(0, 0);
    right = screen.pixel(screen.width() - 1, 0);
  });
  view.Picture().SetGraphic(SolidGraphic(50, 60, kPicture));
  view.Execute();
  // The picture sits at (25, 0, 75, 60), across the middle of the stretched background.
  EXPECT_EQ(left, kA);
  EXPECT_EQ(right, kB);
  view.Stop();
}

TEST_F(PaintTest, LayoutFollowsPropertiesAndResizing) {
  THeadlessBackend wide({1000, 600});
  TSlideView control(wide, effects::EffectTable);
  control.SetAlign(alClient);
  control.SetCenter(true);
  control.SetProportional(true);
  control.SetStretch(true);
  control.Picture().SetGraphic(SolidGraphic(400, 300, kPicture));
  control.Execute();
  EXPECT_EQ(control.GetDisplayRect(), (raster::Rect{100, 0, 900, 600}));
  control.SetStretch(false);
  EXPECT_EQ(control.GetDisplayRect(), (raster::Rect{300, 150, 700, 450}));
  wide.Window().SetClientSize({200, 600});
  EXPECT_EQ(control.GetDisplayRect(), (raster::Rect{0, 225, 200, 375}));
  control.SetAlign(alNone);
  control.SetBounds(10, 10, 400, 300);
  control.SetCenter(false);
  EXPECT_EQ(control.GetDisplayRect(), (raster::Rect{0, 0, 400, 300}));
  control.Stop();
}

TEST_F(PaintTest, AutoSizeFitsThePictureAndItsFrame) {
  view.SetAlign(alNone);
  view.SetFrameWidth(3);
  view.SetAutoSize(true);
  view.Picture().SetGraphic(SolidGraphic(30, 20, kPicture));
  EXPECT_EQ(view.Width(), 36);
  EXPECT_EQ(view.Height(), 26);
  view.SetAlign(alTop);
  view.Picture().SetGraphic(SolidGraphic(10, 10, kPicture));
  EXPECT_EQ(view.Width(), 100);
  EXPECT_EQ(view.Height(), 16);
}

TEST_F(PaintTest, MousePressesInsideTheControlReachItInClientCoordinates) {
  view.SetAlign(alNone);
  view.SetBounds(20, 10, 30, 30);
  std::vector<int> seen;
  view.OnMouseDown = [&](TCustomSlideView&, platform::TMouseButton button, platform::TShiftState,
                         int x, int y) { seen.insert(seen.end(), {button, x, y}); };
  backend.ClickMouse(platform::mbRight, 0, 25, 15);
  backend.ClickMouse(platform::mbLeft, 0, 5, 5);
  backend.RunUntilIdle();
  EXPECT_EQ(seen, (std::vector<int>{platform::mbRight, 5, 5}));
}

}  // namespace
}  // namespace pavona::slideview
