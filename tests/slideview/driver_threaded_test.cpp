// The transition driver on a real frame-timer thread: frames are composed off the UI thread,
// the events reach the UI thread in order, and Stop leaves no tick running.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "effects/effect_table.h"
#include "platform/headless/headless_backend.h"
#include "slideview/slide_view.h"
#include "test_pictures.h"

namespace pavona::slideview {
namespace {

using platform::headless::THeadlessBackend;
using namespace std::chrono_literals;

constexpr raster::Pixel kRed = raster::MakePixel(200, 40, 0);
constexpr raster::Pixel kBlue = raster::MakePixel(0, 90, 250);

class ThreadedDriverTest : public ::testing::Test {
 protected:
  ThreadedDriverTest() {
    view = std::make_unique<TSlideView>(backend, effects::EffectTable);
    view->SetAlign(alClient);
    view->SetStyle(119);
    view->SetStep(12);
    view->SetDelay(5);
    view->SetOnStart([this](TCustomSlideView&, raster::Bitmap&, raster::Bitmap&) { Record("start"); });
    view->SetOnBeforeNewFrame([this](TCustomSlideView&, raster::Bitmap&, raster::Bitmap&) {
      std::lock_guard lock(mutex);
      frameThreads.insert(std::this_thread::get_id());
      ++frameCount;
    });
    view->SetOnProgress([this](TCustomSlideView& sender) {
      Record("progress " + std::to_string(static_cast<TSlideView&>(sender).Progress()));
    });
    view->SetOnComplete([this](TCustomSlideView&) { Record("complete"); });
    view->SetOnStop([this](TCustomSlideView&) { Record("stop"); });
  }

  void Record(const std::string& event) {
    std::lock_guard lock(mutex);
    events.push_back(event);
    eventThreads.insert(std::this_thread::get_id());
  }

  bool Stopped() {
    std::lock_guard lock(mutex);
    return !events.empty() && events.back() == "stop";
  }

  THeadlessBackend backend{{320, 240}, THeadlessBackend::FrameTimers::Threaded};
  std::unique_ptr<TSlideView> view;
  std::mutex mutex;
  std::vector<std::string> events;
  std::set<std::thread::id> eventThreads;
  std::set<std::thread::id> frameThreads;
  int frameCount = 0;
};

TEST_F(ThreadedDriverTest, FramesAreComposedOnTheTimerThreadAndEventsOnTheUiThread) {
  view->Picture().SetGraphic(testing::SolidGraphic(64, 48, kRed));
  view->Execute();
  backend.RunFor(5s, [this] { return Stopped(); });
  ASSERT_TRUE(Stopped());

  std::lock_guard lock(mutex);
  // One OnProgress per frame; each reads the progress when it runs, which may be ahead already.
  ASSERT_EQ(events.size(), 12u);
  EXPECT_EQ(events.front(), "start");
  for (std::size_t i = 1; i < 10; ++i) EXPECT_EQ(events[i].rfind("progress ", 0), 0u) << events[i];
  EXPECT_EQ(events[9], "progress 100");
  EXPECT_EQ(events[10], "complete");
  EXPECT_EQ(events[11], "stop");
  EXPECT_EQ(eventThreads, std::set<std::thread::id>{std::this_thread::get_id()});
  EXPECT_EQ(frameThreads.size(), 1u);
  EXPECT_EQ(frameThreads.count(std::this_thread::get_id()), 0u);
  EXPECT_EQ(frameCount, 9);
  // The timer has ended: Display is ours alone.
  EXPECT_EQ(view->DisplayBitmap().pixel(0, 0), kRed);
}

TEST_F(ThreadedDriverTest, StopLeavesNoTickRunning) {
  view->SetDelay(10);
  view->Picture().SetGraphic(testing::SolidGraphic(64, 48, kRed));
  view->Execute();
  backend.RunFor(5s, [this] { return Stopped(); });
  view->Picture().SetGraphic(testing::SolidGraphic(64, 48, kBlue));
  view->Execute();
  backend.RunFor(5s, [this] { return view->Progress() >= 24; });
  view->Stop();
  int framesAtStop = 0;
  {
    std::lock_guard lock(mutex);
    framesAtStop = frameCount;
    EXPECT_EQ(events.back(), "stop");
  }
  const int progress = view->Progress();
  EXPECT_GT(progress, 0);
  EXPECT_LT(progress, 100);
  // The frame shown is the one for the progress reached, and nothing changes it any more.
  const raster::Pixel expected = testing::Blend(kRed, kBlue, transition::MulDiv(256, progress, 100));
  std::this_thread::sleep_for(40ms);
  backend.RunFor(20ms);
  std::lock_guard lock(mutex);
  EXPECT_EQ(frameCount, framesAtStop);
  EXPECT_EQ(events.back(), "stop");
  EXPECT_EQ(view->DisplayBitmap().pixel(3, 3), expected);
  EXPECT_FALSE(view->Busy());
}

TEST_F(ThreadedDriverTest, RestartingAndDestroyingWhileFramesRun) {
  // The viewer's pattern: every change stops the running transition and starts the next one.
  for (int i = 0; i < 20; ++i) {
    view->Stop();
    view->Picture().SetGraphic(testing::SolidGraphic(64, 48, i % 2 == 0 ? kRed : kBlue));
    view->Execute();
    backend.RunFor(std::chrono::milliseconds(i % 7));
  }
  EXPECT_TRUE(view->Busy());
  view.reset();
  backend.RunFor(20ms);
  EXPECT_EQ(backend.RunningFrameTimers(), 0);
}

}  // namespace
}  // namespace pavona::slideview
