#include "platform/event_loop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/headless/headless_backend.h"

namespace pavona::platform {
namespace {

using headless::THeadlessBackend;

TEST(EventLoop, DispatchesInPostOrderAndStopsAtTheQuitRequest) {
  THeadlessBackend backend;
  TEventLoop& loop = backend.Loop();
  std::vector<int> seen;
  TMessageTarget target(loop, [&](const TMessage& m) { seen.push_back(static_cast<int>(m.WParam)); });
  loop.Post([&] { seen.push_back(1); });
  target.Post(7, 2);
  loop.Post([&] { seen.push_back(3); });
  loop.PostQuit(5);
  loop.Post([&] { seen.push_back(4); });  // behind the quit request: never dispatched

  EXPECT_TRUE(backend.RunUntilIdle());
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(loop.ExitCode(), 5);
  EXPECT_EQ(loop.Run(), 5);  // a loop that took the quit request stays ended
  EXPECT_EQ(seen.size(), 3u);
}

TEST(EventLoop, RunReturnsIdleWhenAHeadlessLoopRunsDry) {
  THeadlessBackend backend;
  int ran = 0;
  backend.Loop().Post([&] { ++ran; });
  EXPECT_EQ(backend.Loop().Run(), TEventLoop::kIdle);
  EXPECT_EQ(ran, 1);
  EXPECT_FALSE(backend.Loop().Terminated());
}

TEST(EventLoop, MessagesToAnUnregisteredTargetAreDropped) {
  THeadlessBackend backend;
  TEventLoop& loop = backend.Loop();
  int received = 0;
  auto target = std::make_unique<TMessageTarget>(loop, [&](const TMessage&) { ++received; });
  const TMessageTargetId id = target->Id();
  EXPECT_TRUE(loop.PostToTarget(id, 1));
  target.reset();  // pending message must not reach the gone target
  EXPECT_FALSE(loop.PostToTarget(id, 1));
  EXPECT_FALSE(loop.PostToTarget(0, 1));
  backend.RunUntilIdle();
  EXPECT_EQ(received, 0);
}

TEST(EventLoop, AnErrorStopsOnlyItsOwnHandler) {
  THeadlessBackend backend;
  TEventLoop& loop = backend.Loop();
  std::vector<std::string> errors;
  loop.SetExceptionHandler([&](std::exception_ptr e) {
    try {
      std::rethrow_exception(e);
    } catch (const std::exception& x) {
      errors.push_back(x.what());
    }
  });
  bool next = false;
  loop.Post([] { throw std::runtime_error("first"); });
  loop.PostException(std::make_exception_ptr(std::logic_error("from another thread")));
  loop.Post([&] { next = true; });
  backend.RunUntilIdle();
  EXPECT_EQ(errors, (std::vector<std::string>{"first", "from another thread"}));
  EXPECT_TRUE(next);
}

TEST(EventLoop, WithoutAHandlerErrorsAreReportedOnStandardError) {
  THeadlessBackend backend;
  backend.Loop().Post([] { throw std::runtime_error("boom"); });
  testing::internal::CaptureStderr();
  backend.RunUntilIdle();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "boom\n");
}

TEST(EventLoop, PostsFromOtherThreadsAllArrive) {
  THeadlessBackend backend;
  TEventLoop& loop = backend.Loop();
  constexpr int kThreads = 4;
  constexpr int kPosts = 500;
  int received = 0;  // UI thread only
  TMessageTarget target(loop, [&](const TMessage&) { ++received; });
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < kPosts; ++i) {
        if (i % 2 == 0) {
          target.Post(1);
        } else {
          loop.Post([&] { ++received; });
        }
      }
    });
  }
  backend.RunFor(std::chrono::seconds(20), [&] { return received == kThreads * kPosts; });
  for (std::thread& t : threads) t.join();
  backend.RunUntilIdle();
  EXPECT_EQ(received, kThreads * kPosts);
}

TEST(EventLoop, ProcessMessagesHandlesWhatIsReadyAndReportsTheQuit) {
  THeadlessBackend backend;
  TEventLoop& loop = backend.Loop();
  int ran = 0;
  loop.Post([&] { ++ran; });
  loop.Post([&] { ++ran; });
  EXPECT_TRUE(loop.ProcessMessages());
  EXPECT_EQ(ran, 2);
  loop.PostQuit(0);
  EXPECT_FALSE(loop.ProcessMessages());
}

}  // namespace
}  // namespace pavona::platform
