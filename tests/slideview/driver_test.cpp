// The transition driver with frame timers that tick when the test says so: the step sequences,
// where a transition starts from, Stop, stale messages, manual and blocking modes, the timer's
// period, and the events in their order.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "effects/effect_table.h"
#include "platform/headless/headless_backend.h"
#include "slideview/slide_view.h"
#include "test_pictures.h"

namespace pavona::slideview {
namespace {

using platform::headless::THeadlessBackend;
using platform::headless::TManualFrameTimer;
using testing::Blend;
using testing::SolidGraphic;

constexpr raster::Pixel kRed = raster::MakePixel(200, 40, 0);
constexpr raster::Pixel kBlue = raster::MakePixel(0, 90, 250);
constexpr raster::Pixel kGreen = raster::MakePixel(10, 220, 30);
constexpr raster::Pixel kBackground = raster::MakePixel(17, 34, 51);

// A frame timer with chosen capabilities, ticking by hand.
class TCapsTimer final : public platform::TFrameTimer {
 public:
  TCapsTimer(std::unique_ptr<platform::TFrameTimer> inner, bool known, platform::TTimeCaps caps)
      : FInner(std::move(inner)), FKnown(known), FCaps(caps) {}
  bool GetDevCaps(platform::TTimeCaps& caps) const override {
    if (FKnown) caps = FCaps;
    return FKnown;
  }
  bool Start(std::uint32_t period, std::uint32_t resolution, std::function<void()> cb) override {
    return FInner->Start(period, resolution, std::move(cb));
  }
  void Stop() override { FInner->Stop(); }
  bool Running() const override { return FInner->Running(); }
  TManualFrameTimer& Manual() { return static_cast<TManualFrameTimer&>(*FInner); }

 private:
  std::unique_ptr<platform::TFrameTimer> FInner;
  bool FKnown;
  platform::TTimeCaps FCaps;
};

// The control with a clock the test moves.
class TClockedSlideView : public TSlideView {
 public:
  using TSlideView::TSlideView;
  std::uint32_t Now = 1000;

 protected:
  std::uint32_t TickCount() const override { return Now; }
};

class DriverTest : public ::testing::Test {
 protected:
  DriverTest() { Make(true, {1, 1000000}); }

  // Rebuilds the control over a timer with these capabilities.
  void Make(bool capsKnown, platform::TTimeCaps caps) {
    view.reset();
    view = std::make_unique<TClockedSlideView>(
        backend.MainWindow(),
        [this, capsKnown, caps] {
          auto t = std::make_unique<TCapsTimer>(backend.CreateFrameTimer(), capsKnown, caps);
          timer = t.get();
          return t;
        },
        effects::EffectTable);
    view->SetAlign(alClient);
    view->SetStyle(119);
    view->SetStep(12);
    view->SetOnStart([this](TCustomSlideView&, raster::Bitmap& picture, raster::Bitmap& screen) {
      events.push_back("start");
      startPicture = picture.pixel(0, 0);
      startScreen = screen.pixel(0, 0);
    });
    view->SetOnBeforeNewFrame([this](TCustomSlideView& sender, raster::Bitmap&, raster::Bitmap&) {
      frames.push_back(static_cast<TSlideView&>(sender).Progress());
    });
    view->SetOnProgress([this](TCustomSlideView& sender) {
      events.push_back("progress " + std::to_string(static_cast<TSlideView&>(sender).Progress()));
    });
    view->SetOnComplete([this](TCustomSlideView&) { events.push_back("complete"); });
    view->SetOnStop([this](TCustomSlideView&) { events.push_back("stop"); });
    backend.RunUntilIdle();
  }

  void Show(raster::Pixel color, int w = 40, int h = 30) {
    view->Picture().SetGraphic(SolidGraphic(w, h, color));
  }

  // Ticks the timer, handling the posted messages after each tick, until it stops.
  void RunToEnd() {
    while (backend.FireFrameTimers() > 0) backend.RunUntilIdle();
    backend.RunUntilIdle();
  }

  void Tick(int count) {
    for (int i = 0; i < count; ++i) {
      ASSERT_EQ(backend.FireFrameTimers(), 1);
      backend.RunUntilIdle();
    }
  }

  // A finished transition to this colour, so that the next one of the same size starts from it.
  void Complete(raster::Pixel color) {
    Show(color);
    view->Execute();
    RunToEnd();
    events.clear();
    frames.clear();
  }

  raster::Pixel ShownPixel() { return view->DisplayBitmap().pixel(5, 5); }

  THeadlessBackend backend{{1000, 600}};
  std::unique_ptr<TClockedSlideView> view;
  TCapsTimer* timer = nullptr;
  std::vector<std::string> events;
  std::vector<int> frames;
  raster::Pixel startPicture = 0;
  raster::Pixel startScreen = 0;
};

TEST_F(DriverTest, ThreadedTransitionRunsStepTwelveWithEventsInOrder) {
  Show(kRed);
  view->Execute();
  EXPECT_TRUE(view->Busy());
  EXPECT_EQ(view->Progress(), 0);
  EXPECT_EQ(timer->Manual().Period(), 40u);
  EXPECT_EQ(view->GetTimerResolution(), 4u);
  RunToEnd();

  EXPECT_FALSE(view->Busy());
  EXPECT_EQ(frames, (std::vector<int>{12, 24, 36, 48, 60, 72, 84, 96, 100}));
  EXPECT_EQ(events, (std::vector<std::string>{"start", "progress 12", "progress 24", "progress 36",
                                              "progress 48", "progress 60", "progress 72",
                                              "progress 84", "progress 96", "progress 100",
                                              "complete", "stop"}));
  EXPECT_EQ(ShownPixel(), kRed);
  EXPECT_EQ(backend.RunningFrameTimers(), 0);
}

TEST_F(DriverTest, StepThirtyAndReverse) {
  view->SetStep(30);
  Complete(kRed);
  view->SetStep(12);
  view->SetReverse(true);
  Show(kBlue);
  view->Execute();
  EXPECT_EQ(view->Progress(), 100);
  RunToEnd();
  EXPECT_EQ(frames, (std::vector<int>{88, 76, 64, 52, 40, 28, 16, 4, 0}));
  // The last frame of a reversed run is the starting picture, not the new one.
  EXPECT_EQ(ShownPixel(), kRed);

  view->SetReverse(false);
  view->SetStep(30);
  frames.clear();
  view->Execute();
  RunToEnd();
  EXPECT_EQ(frames, (std::vector<int>{30, 60, 90, 100}));
}

TEST_F(DriverTest, StopHalfWayKeepsTheBlendedFrameAndTheNextSameSizeStartsFromIt) {
  Complete(kRed);
  Show(kBlue);
  view->Execute();
  EXPECT_EQ(startScreen, kRed);  // the frame on screen
  Tick(4);
  ASSERT_EQ(view->Progress(), 48);
  view->Stop();
  backend.RunUntilIdle();

  const raster::Pixel half = Blend(kRed, kBlue, transition::MulDiv(256, 48, 100));
  EXPECT_FALSE(view->Busy());
  EXPECT_EQ(view->Progress(), 48);
  EXPECT_EQ(ShownPixel(), half);
  EXPECT_EQ(events.back(), "stop");
  EXPECT_EQ(std::count(events.begin(), events.end(), "complete"), 0);
  // The frame on the window is the half-blended one.
  {
    std::lock_guard lock(backend.Window().Canvas().lock());
    EXPECT_EQ(backend.Window().Canvas().pixel(5, 5), half);
  }

  events.clear();
  Show(kGreen);
  view->Execute();
  EXPECT_EQ(startScreen, half);
  EXPECT_EQ(ShownPixel(), half);
  Tick(1);
  EXPECT_EQ(ShownPixel(), Blend(half, kGreen, transition::MulDiv(256, 12, 100)));
}

TEST_F(DriverTest, PictureOfAnotherSizeOrNoOverDrawStartsFromTheBackground) {
  backend.Window().SetColor(kBackground);
  Complete(kRed);
  Show(kBlue, 50, 30);
  view->Execute();
  EXPECT_EQ(startScreen, kBackground);
  EXPECT_EQ(startPicture, kBlue);
  view->Stop();

  Complete(kRed);
  view->SetOverDraw(false);
  Show(kBlue);
  view->Execute();
  EXPECT_EQ(startScreen, kBackground);
  view->Stop();
}

TEST_F(DriverTest, StaleFinishDoesNotEndANewerTransition) {
  Show(kRed);
  view->Execute();
  for (int i = 0; i < 9; ++i) ASSERT_EQ(backend.FireFrameTimers(), 1);  // finish is posted
  view->Stop();
  Show(kBlue);
  view->Execute();
  events.clear();
  backend.RunUntilIdle();  // delivers the old progress and finish messages
  EXPECT_TRUE(view->Busy());
  EXPECT_TRUE(events.empty());
  RunToEnd();
  EXPECT_EQ(events.back(), "stop");
  EXPECT_EQ(events[events.size() - 2], "complete");
  EXPECT_EQ(ShownPixel(), kBlue);
}

TEST_F(DriverTest, ExecuteAndStopThatHaveNothingToDo) {
  view->Stop();  // nothing runs
  view->Execute();  // no picture
  EXPECT_FALSE(view->Busy());
  Show(kRed, 0, 0);  // a picture without pixels
  view->Execute();
  EXPECT_FALSE(view->Busy());
  Show(kRed, 40, 0);
  view->Execute();
  EXPECT_FALSE(view->Busy());
  EXPECT_TRUE(events.empty());

  Show(kRed);
  view->Execute();
  view->Execute();  // already running
  EXPECT_EQ(events, std::vector<std::string>{"start"});
  view->Stop();
  view->Stop();
  EXPECT_EQ(events, (std::vector<std::string>{"start", "stop"}));
}

TEST_F(DriverTest, ManualModeRendersWhatTheApplicationSets) {
  Complete(kRed);
  view->SetManual(true);
  Show(kBlue);
  view->Execute();
  EXPECT_TRUE(view->Busy());
  EXPECT_EQ(view->Progress(), 0);
  EXPECT_EQ(backend.RunningFrameTimers(), 0);

  view->SetProgress(50);
  EXPECT_EQ(events.back(), "progress 50");  // fired at once, not posted
  EXPECT_EQ(ShownPixel(), Blend(kRed, kBlue, 128));
  view->SetProgress(250);
  EXPECT_EQ(view->Progress(), 100);
  EXPECT_EQ(ShownPixel(), kBlue);
  EXPECT_TRUE(view->Busy());  // reaching the end does not finish a manual transition

  // Changing the style re-renders the current frame.
  view->SetProgress(30);
  view->SetStyle(0);  // custom drawing, and nobody draws: the starting picture
  EXPECT_EQ(ShownPixel(), kRed);
  view->SetStyle(119);
  EXPECT_EQ(ShownPixel(), Blend(kRed, kBlue, transition::MulDiv(256, 30, 100)));

  // Switching Manual off continues automatically to the end.
  view->SetManual(false);
  RunToEnd();
  EXPECT_FALSE(view->Busy());
  EXPECT_EQ(frames, (std::vector<int>{50, 100, 30, 30, 30, 42, 54, 66, 78, 90, 100}));
  EXPECT_EQ(events[events.size() - 2], "complete");
  EXPECT_EQ(events.back(), "stop");
}

TEST_F(DriverTest, ManualStopFiresOnlyStop) {
  view->SetManual(true);
  Show(kBlue);
  view->Execute();
  view->SetProgress(100);
  view->Stop();
  EXPECT_EQ(events, (std::vector<std::string>{"start", "progress 100", "stop"}));
  EXPECT_EQ(ShownPixel(), kBlue);
}

TEST_F(DriverTest, ExactTimingScalesEachStep) {
  view->SetStep(4);
  view->SetExactTiming(true);
  Show(kRed);
  view->Execute();
  while (view->Busy()) {
    view->Now += 100;
    if (backend.FireFrameTimers() == 0) break;
    backend.RunUntilIdle();
  }
  EXPECT_EQ(frames, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
}

TEST_F(DriverTest, DelayFollowsTheTimerCapabilities) {
  Make(true, {10, 1000});
  view->SetDelay(5);
  Show(kRed);
  view->Execute();
  EXPECT_EQ(view->Delay(), 10);
  EXPECT_EQ(view->GetTimerResolution(), 10u);
  EXPECT_EQ(timer->Manual().Period(), 10u);
  view->Stop();

  view->SetDelay(5000);
  view->Execute();
  EXPECT_EQ(view->Delay(), 1000);
  EXPECT_EQ(view->GetTimerResolution(), 100u);
  view->Stop();

  // Without capabilities no timer is armed: the transition waits at its first frame for Stop.
  Make(false, {});
  Show(kRed);
  view->Execute();
  EXPECT_EQ(view->Delay(), 0);
  EXPECT_EQ(backend.RunningFrameTimers(), 0);
  EXPECT_TRUE(view->Busy());
  view->Stop();
  EXPECT_FALSE(view->Busy());
}

TEST_F(DriverTest, BlockingModeRunsTheWholeTransitionInsideExecute) {
  view->SetThreaded(false);
  view->SetDelay(1);
  Show(kRed);
  // The test's clock moves one delay per wait, so the loop needs no real time.
  view->SetOnAfterNewFrame([this](TCustomSlideView&, raster::Bitmap&, raster::Bitmap&) {
    view->Now += 1;
  });
  view->Execute();
  EXPECT_FALSE(view->Busy());
  EXPECT_EQ(frames, (std::vector<int>{12, 24, 36, 48, 60, 72, 84, 96, 100}));
  EXPECT_EQ(events.size(), 12u);
  EXPECT_EQ(events[1], "progress 12");
  EXPECT_EQ(events[10], "complete");
  EXPECT_EQ(events[11], "stop");
  EXPECT_EQ(ShownPixel(), kRed);

  // A handler that stops the transition ends the loop there.
  events.clear();
  frames.clear();
  view->SetOnProgress([this](TCustomSlideView& sender) {
    if (static_cast<TSlideView&>(sender).Progress() == 36) sender.Stop();
  });
  Show(kBlue);
  view->Execute();
  EXPECT_FALSE(view->Busy());
  EXPECT_EQ(frames, (std::vector<int>{12, 24, 36}));
  EXPECT_EQ(events, (std::vector<std::string>{"start", "stop"}));
}

TEST_F(DriverTest, DestroyingTheControlStopsSilently) {
  Show(kRed);
  view->Execute();
  Tick(2);
  events.clear();
  view.reset();
  backend.RunUntilIdle();
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(backend.RunningFrameTimers(), 0);
}

TEST_F(DriverTest, StyleNamesFollowTheTable) {
  std::vector<std::string> names{"keep"};
  view->GetStyleNames(names);
  ASSERT_EQ(names.size(), 177u);
  EXPECT_EQ(names[1], "Expand from right");
  EXPECT_EQ(names.back(), "Slide out from top");

  struct Case {
    const char* name;
    int style;
  };
  const Case cases[] = {{"fade", 119}, {"CUSTOM", 0}, {"Expand from bottom", 18},
                        {"expand in from top", 25}, {"no such style", 25}};
  for (const Case& c : cases) {
    view->SetStyleName(c.name);
    EXPECT_EQ(view->Style(), c.style) << c.name;
  }
  view->SetStyle(0);
  EXPECT_EQ(view->StyleName(), "Custom");
  view->SetStyle(177);
  EXPECT_EQ(view->Style(), 0);
  view->SetStyle(176);
  EXPECT_EQ(view->StyleName(), "Slide out from top");
}

TEST_F(DriverTest, CustomDrawDrawsStyleZeroBetweenTheEnds) {
  view->SetStyle(0);
  std::vector<int> drawn;
  view->SetOnCustomDraw([&](TCustomSlideView& sender, raster::Bitmap&, raster::Bitmap& screen) {
    drawn.push_back(static_cast<TSlideView&>(sender).Progress());
    screen.fill(kGreen);
  });
  Show(kRed);
  view->Execute();
  Tick(1);
  EXPECT_EQ(ShownPixel(), kGreen);
  RunToEnd();
  EXPECT_EQ(drawn, (std::vector<int>{12, 24, 36, 48, 60, 72, 84, 96}));
  EXPECT_EQ(ShownPixel(), kRed);
}

}  // namespace
}  // namespace pavona::slideview
