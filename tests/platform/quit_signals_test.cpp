#include "platform/quit_signals.h"

#include <gtest/gtest.h>

#include <signal.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace pavona::platform {
namespace {

bool WaitFor(const std::atomic<int>& count, int expected) {
  for (int i = 0; i < 500 && count.load() < expected; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return count.load() == expected;
}

std::atomic<int> gPreviousHandlerCalls{0};
extern "C" void CountingHandler(int) { ++gPreviousHandlerCalls; }

TEST(QuitSignals, EachQuitSignalReachesTheCallbackOnItsOwnThreadAndTheOldHandlersReturn) {
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    SCOPED_TRACE(signal);
    struct sigaction counting {}, saved {};
    counting.sa_handler = CountingHandler;
    sigemptyset(&counting.sa_mask);
    ASSERT_EQ(sigaction(signal, &counting, &saved), 0);
    gPreviousHandlerCalls = 0;
    std::atomic<int> calls{0};
    const auto caller = std::this_thread::get_id();
    std::atomic<bool> onOtherThread{false};
    {
      TQuitSignals signals([&] {
        onOtherThread = std::this_thread::get_id() != caller;
        ++calls;
      });
      ASSERT_EQ(raise(signal), 0);
      EXPECT_TRUE(WaitFor(calls, 1));
      ASSERT_EQ(raise(signal), 0);
      EXPECT_TRUE(WaitFor(calls, 2));
      EXPECT_TRUE(onOtherThread);
      EXPECT_EQ(gPreviousHandlerCalls, 0);
    }
    ASSERT_EQ(raise(signal), 0);
    EXPECT_EQ(gPreviousHandlerCalls, 1);
    EXPECT_EQ(calls, 2);
    sigaction(signal, &saved, nullptr);
  }
}

}  // namespace
}  // namespace pavona::platform
