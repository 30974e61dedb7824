#include "platform/message_timer.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "platform/headless/headless_backend.h"

namespace pavona::platform {
namespace {

using headless::THeadlessBackend;

TEST(MessageTimer, TicksEachIntervalWhileEnabled) {
  THeadlessBackend backend;
  TTimer timer(backend.Loop());
  int ticks = 0;
  timer.SetOnTimer([&] { ++ticks; });
  EXPECT_TRUE(timer.Enabled());  // stored defaults of a timer component
  EXPECT_EQ(timer.Interval(), 1000u);
  timer.SetInterval(250);
  backend.AdvanceTime(249);
  backend.RunUntilIdle();
  EXPECT_EQ(ticks, 0);
  backend.AdvanceTime(1);
  backend.RunUntilIdle();
  EXPECT_EQ(ticks, 1);
  backend.AdvanceTime(250);
  backend.RunUntilIdle();
  EXPECT_EQ(ticks, 2);

  timer.SetEnabled(false);
  backend.AdvanceTime(1000);
  backend.RunUntilIdle();
  EXPECT_EQ(ticks, 2);
}

TEST(MessageTimer, NeverMoreThanOnePendingTick) {
  THeadlessBackend backend;
  TTimer timer(backend.Loop());
  int ticks = 0;
  timer.SetInterval(10);
  timer.SetOnTimer([&] { ++ticks; });
  backend.AdvanceTime(1000);  // a hundred periods pass while the loop is busy elsewhere
  backend.RunUntilIdle();
  EXPECT_EQ(ticks, 1);
  backend.RunUntilIdle();
  EXPECT_EQ(ticks, 1);  // the next one is due a whole interval after the tick
}

TEST(MessageTimer, SilentWithPeriodZeroOrWithoutHandler) {
  THeadlessBackend backend;
  TTimer silent(backend.Loop());
  TTimer unassigned(backend.Loop());
  int ticks = 0;
  silent.SetOnTimer([&] { ++ticks; });
  silent.SetInterval(0);
  EXPECT_TRUE(silent.Enabled());
  backend.AdvanceTime(100000);
  backend.RunUntilIdle();
  EXPECT_EQ(ticks, 0);
}

TEST(MessageTimer, TicksOnlyWhenTheQueueIsEmpty) {
  THeadlessBackend backend;
  TTimer timer(backend.Loop());
  std::vector<char> order;
  timer.SetInterval(10);
  timer.SetOnTimer([&] {
    order.push_back('t');
    backend.Loop().Post([&] { order.push_back('c'); });  // a tick handler may post
  });
  backend.AdvanceTime(10);
  backend.Loop().Post([&] { order.push_back('a'); });
  backend.Loop().Post([&] { order.push_back('b'); });
  backend.RunUntilIdle();
  EXPECT_EQ(order, (std::vector<char>{'a', 'b', 't', 'c'}));
}

TEST(MessageTimer, AnErrorInTheHandlerKeepsTheTimerRunning) {
  THeadlessBackend backend;
  int errors = 0;
  backend.Loop().SetExceptionHandler([&](std::exception_ptr) { ++errors; });
  TTimer timer(backend.Loop());
  int ticks = 0;
  timer.SetInterval(10);
  timer.SetOnTimer([&] {
    ++ticks;
    throw std::runtime_error("tick");
  });
  for (int i = 0; i < 3; ++i) {
    backend.AdvanceTime(10);
    backend.RunUntilIdle();
  }
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(errors, 3);
}

TEST(MessageTimer, AHandlerMayFreeItsOwnTimer) {
  THeadlessBackend backend;
  auto timer = std::make_unique<TTimer>(backend.Loop());
  int ticks = 0;
  timer->SetInterval(10);
  timer->SetOnTimer([&] {
    ++ticks;
    timer.reset();
  });
  backend.AdvanceTime(10);
  backend.RunUntilIdle();
  backend.AdvanceTime(10);
  backend.RunUntilIdle();
  EXPECT_EQ(ticks, 1);
}

}  // namespace
}  // namespace pavona::platform
