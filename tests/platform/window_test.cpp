#include "platform/window.h"

#include <gtest/gtest.h>

#include <thread>
#include <tuple>
#include <vector>

#include "platform/headless/headless_backend.h"

namespace pavona::platform {
namespace {

using headless::THeadlessBackend;
using headless::THeadlessWindow;

TEST(Window, EveryKeyDownArrivesRepeatsIncluded) {
  THeadlessBackend backend;
  std::vector<std::pair<TVirtualKey, TShiftState>> keys;
  backend.Window().OnKeyDown = [&](TVirtualKey key, TShiftState shift) { keys.emplace_back(key, shift); };
  backend.PressKey(vk::Right);
  backend.PressKey(vk::Right);  // auto-repeat of a held key
  backend.PressKey(vk::Right);
  backend.PressKey('A', ssShift | ssCtrl);
  backend.PressKey(vk::F1 + 11);
  backend.RunUntilIdle();
  const std::vector<std::pair<TVirtualKey, TShiftState>> expected = {
      {vk::Right, 0}, {vk::Right, 0}, {vk::Right, 0}, {'A', ssShift | ssCtrl}, {0x7B, 0}};
  EXPECT_EQ(keys, expected);
}

TEST(Window, EachPressOfADoubleClickIsOneEvent) {
  THeadlessBackend backend;
  std::vector<std::tuple<TMouseButton, TShiftState, int, int>> presses;
  backend.Window().OnMouseDown = [&](TMouseButton b, TShiftState s, int x, int y) {
    presses.emplace_back(b, s, x, y);
  };
  backend.DoubleClick(mbLeft, 10, 20);
  backend.ClickMouse(mbMiddle, ssShift, -5, 32767);
  backend.DoubleClick(mbRight, 639, 479);
  backend.RunUntilIdle();
  const std::vector<std::tuple<TMouseButton, TShiftState, int, int>> expected = {
      {mbLeft, ssLeft, 10, 20},
      {mbLeft, ssLeft | ssDouble, 10, 20},
      {mbMiddle, ssShift, -5, 32767},
      {mbRight, ssRight, 639, 479},
      {mbRight, ssRight | ssDouble, 639, 479}};
  EXPECT_EQ(presses, expected);
}

TEST(Window, TheCloseCommandQuitsUnlessHandled) {
  THeadlessBackend backend;
  backend.Close();
  EXPECT_TRUE(backend.RunUntilIdle());
  EXPECT_EQ(backend.Loop().ExitCode(), 0);

  THeadlessBackend handled;
  int closes = 0;
  handled.Window().OnClose = [&] { ++closes; };
  handled.Close();
  EXPECT_FALSE(handled.RunUntilIdle());
  EXPECT_EQ(closes, 1);
}

TEST(Window, ShowPaintsTheWholeClientAreaBlack) {
  THeadlessBackend backend({8, 6});
  TWindow& window = backend.MainWindow();
  window.SetCaption("Viewer");
  {
    std::lock_guard lock(window.Canvas().lock());
    window.Canvas().fill(0x123456);
  }
  window.Show();
  backend.RunUntilIdle();
  EXPECT_TRUE(window.Visible());
  EXPECT_EQ(window.Caption(), "Viewer");
  EXPECT_EQ(window.ClientSize(), (raster::Size{8, 6}));
  const raster::Bitmap& screen = backend.Window().Screen();
  ASSERT_EQ(screen.size(), (raster::Size{8, 6}));
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 8; ++x) EXPECT_EQ(screen.pixel(x, y), 0u) << x << "," << y;
  }
}

TEST(Window, InvalidationsMergeIntoOnePaintThenUpload) {
  THeadlessBackend backend({10, 10});
  TWindow& window = backend.MainWindow();
  std::vector<raster::Rect> paints;
  window.OnPaint = [&](const raster::Rect& r) {
    paints.push_back(r);
    std::lock_guard lock(window.Canvas().lock());
    for (int y = r.Top; y < r.Bottom; ++y) {
      for (int x = r.Left; x < r.Right; ++x) {
        window.Canvas().set_pixel(x, y, static_cast<raster::Pixel>(paints.size()));
      }
    }
  };
  window.Show();  // paints everything with 1
  backend.RunUntilIdle();
  window.Invalidate({1, 1, 3, 3});
  window.Invalidate({5, 2, 7, 4});
  window.Invalidate({20, 20, 30, 30});  // outside the client area: nothing
  backend.RunUntilIdle();
  ASSERT_EQ(paints.size(), 2u);
  EXPECT_EQ(paints[1], (raster::Rect{1, 1, 7, 4}));
  EXPECT_EQ(backend.Window().Screen().pixel(6, 3), 2u);
  EXPECT_EQ(backend.Window().Screen().pixel(7, 3), 1u);
}

TEST(Window, ValidateDropsAPaintOfAnAreaAlreadyPresented) {
  THeadlessBackend backend({10, 10});
  TWindow& window = backend.MainWindow();
  int paints = 0;
  window.OnPaint = [&](const raster::Rect&) { ++paints; };
  window.Show();
  backend.RunUntilIdle();
  paints = 0;
  window.Invalidate({2, 2, 4, 4});
  window.Validate({0, 0, 5, 5});
  backend.RunUntilIdle();
  EXPECT_EQ(paints, 0);
  window.Invalidate({2, 2, 6, 6});
  window.Validate({0, 0, 5, 5});  // covers only part of it: the paint stays
  backend.RunUntilIdle();
  EXPECT_EQ(paints, 1);
}

TEST(Window, UploadsRequestedFromAnotherThreadReachTheScreen) {
  THeadlessBackend backend({16, 16});
  TWindow& window = backend.MainWindow();
  std::thread presenter([&] {
    for (int i = 0; i < 16; ++i) {
      std::lock_guard lock(window.Canvas().lock());
      window.Canvas().set_pixel(i, i, 0xABCDEF);
      window.RequestUpload({i, i, i + 1, i + 1});
    }
  });
  presenter.join();
  backend.RunUntilIdle();
  for (int i = 0; i < 16; ++i) EXPECT_EQ(backend.Window().Screen().pixel(i, i), 0xABCDEFu);
  EXPECT_EQ(backend.Window().UploadCount(), 1);  // one pending upload at a time, merged
}

TEST(Window, AResizeClearsTheCanvasAndRepaints) {
  THeadlessBackend backend({4, 4});
  THeadlessWindow& window = backend.Window();
  int resizes = 0;
  std::vector<raster::Rect> paints;
  window.OnResize = [&] { ++resizes; };
  window.OnPaint = [&](const raster::Rect& r) { paints.push_back(r); };
  window.Show();
  backend.RunUntilIdle();
  paints.clear();
  window.SetClientSize({6, 3});
  backend.RunUntilIdle();
  EXPECT_EQ(resizes, 1);
  EXPECT_EQ(window.Canvas().size(), (raster::Size{6, 3}));
  EXPECT_EQ(paints, (std::vector<raster::Rect>{{0, 0, 6, 3}}));
}

}  // namespace
}  // namespace pavona::platform
