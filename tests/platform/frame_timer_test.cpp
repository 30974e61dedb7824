#include "platform/frame_timer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "platform/clock.h"
#include "platform/headless/headless_backend.h"
#include "platform/thread_frame_timer.h"

namespace pavona::platform {
namespace {

using headless::THeadlessBackend;
using namespace std::chrono_literals;

TEST(FrameTimer, Capabilities) {
  THeadlessBackend backend;
  TThreadFrameTimer timer(backend.Loop());
  TTimeCaps caps;
  ASSERT_TRUE(timer.GetDevCaps(caps));
  EXPECT_EQ(caps.wPeriodMin, 1u);
  EXPECT_EQ(caps.wPeriodMax, 1000000u);
  EXPECT_FALSE(timer.Start(0, 0, [] {}));
  EXPECT_FALSE(timer.Start(1000001, 0, [] {}));
  EXPECT_FALSE(timer.Start(10, 1, nullptr));
  EXPECT_FALSE(timer.Running());
}

TEST(FrameTimer, CallbacksRunInSequenceOnTheirOwnThreadUntilStopped) {
  THeadlessBackend backend;
  TThreadFrameTimer timer(backend.Loop());
  std::atomic<int> calls{0};
  std::atomic<int> inside{0};
  std::atomic<bool> overlapped{false};
  std::atomic<bool> onCaller{false};
  const std::thread::id caller = std::this_thread::get_id();
  ASSERT_TRUE(timer.Start(2, 1, [&] {
    if (inside.fetch_add(1) != 0) overlapped = true;
    if (std::this_thread::get_id() == caller) onCaller = true;
    std::this_thread::sleep_for(1ms);
    ++calls;
    inside.fetch_sub(1);
  }));
  EXPECT_TRUE(timer.Running());
  EXPECT_FALSE(timer.Start(2, 1, [] {}));  // already running
  const auto limit = std::chrono::steady_clock::now() + 10s;
  while (calls < 5 && std::chrono::steady_clock::now() < limit) std::this_thread::sleep_for(1ms);
  timer.Stop();
  const int atStop = calls;
  EXPECT_EQ(inside, 0);  // Stop returned with no callback running
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(calls, atStop);  // and none started after it
  EXPECT_GE(atStop, 5);
  EXPECT_FALSE(overlapped);
  EXPECT_FALSE(onCaller);
  EXPECT_FALSE(timer.Running());
}

TEST(FrameTimer, StopFromInsideTheCallbackEndsTheTimerAndItCanStartAgain) {
  THeadlessBackend backend;
  TThreadFrameTimer timer(backend.Loop());
  std::atomic<int> calls{0};
  ASSERT_TRUE(timer.Start(1, 1, [&] {
    if (++calls == 3) timer.Stop();
  }));
  const auto limit = std::chrono::steady_clock::now() + 10s;
  while (timer.Running() && std::chrono::steady_clock::now() < limit) std::this_thread::sleep_for(1ms);
  std::this_thread::sleep_for(10ms);
  EXPECT_EQ(calls, 3);

  std::atomic<int> again{0};
  ASSERT_TRUE(timer.Start(1, 1, [&] { ++again; }));
  while (again == 0 && std::chrono::steady_clock::now() < limit) std::this_thread::sleep_for(1ms);
  timer.Stop();
  EXPECT_GE(again, 1);
}

TEST(FrameTimer, KeepsAnAbsolutePace) {
  THeadlessBackend backend;
  TThreadFrameTimer timer(backend.Loop());
  std::atomic<int> calls{0};
  const std::uint32_t start = GetTickCount();
  ASSERT_TRUE(timer.Start(10, 1, [&] { ++calls; }));
  while (calls < 10) std::this_thread::sleep_for(1ms);
  timer.Stop();
  // Ten periods of 10 ms cannot pass in less than 100 ms.
  EXPECT_GE(GetTickCount() - start, 100u);
}

TEST(FrameTimer, ErrorsInTheCallbackGoToTheUserInterfaceThread) {
  THeadlessBackend backend;
  std::atomic<int> calls{0};
  int errors = 0;
  backend.Loop().SetExceptionHandler([&](std::exception_ptr) { ++errors; });
  TThreadFrameTimer timer(backend.Loop());
  ASSERT_TRUE(timer.Start(1, 1, [&] {
    ++calls;
    throw std::runtime_error("frame");
  }));
  backend.RunFor(10s, [&] { return errors >= 2; });
  timer.Stop();
  backend.RunUntilIdle();
  EXPECT_GE(errors, 2);
  EXPECT_EQ(errors, calls);
}

TEST(FrameTimer, HeadlessTimersTickByHand) {
  THeadlessBackend backend;
  std::unique_ptr<TFrameTimer> timer = backend.CreateFrameTimer();
  int calls = 0;
  EXPECT_EQ(backend.FireFrameTimers(), 0);
  ASSERT_TRUE(timer->Start(40, 4, [&] {
    if (++calls == 2) timer->Stop();
  }));
  EXPECT_EQ(backend.RunningFrameTimers(), 1);
  EXPECT_EQ(backend.FireFrameTimers(), 1);
  EXPECT_EQ(backend.FireFrameTimers(), 1);
  EXPECT_EQ(backend.FireFrameTimers(), 0);
  EXPECT_EQ(calls, 2);
  timer.reset();
  EXPECT_EQ(backend.RunningFrameTimers(), 0);

  THeadlessBackend threaded({640, 480}, THeadlessBackend::FrameTimers::Threaded);
  EXPECT_NE(dynamic_cast<TThreadFrameTimer*>(threaded.CreateFrameTimer().get()), nullptr);
}

}  // namespace
}  // namespace pavona::platform
