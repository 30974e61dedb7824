// The user-interface thread's event loop and its thread-safe posted-message queue.
//
// Contract:
// - One loop per program, driven by the UI thread: Run() takes one item at a time from a FIFO
//   queue and dispatches it, until it takes the quit request posted by PostQuit(). Items queued
//   behind the quit request are never dispatched.
// - Other threads (the frame-timer thread, the media device) hand work to the UI thread only
//   through Post(), PostToTarget() and PostException(); these are the only members that may be
//   called from any thread. Everything else belongs to the UI thread.
// - PostToTarget() delivers (message id, two integer parameters) to a target registered on the UI
//   thread, like a message posted to a window. A message whose target has been unregistered by the
//   time it would be dispatched is dropped, so a target that unregisters in its destructor never
//   receives a message after it is gone.
// - Message-timer ticks (TTimer, message_timer.h) are low-priority like WM_TIMER: a due timer ticks
//   only when the queue is empty, and never has more than one tick pending.
// - Every exception that escapes a dispatched item (posted work, a message handler, an input
//   event, a paint, a timer tick) goes to the exception handler; the loop goes on. Without a
//   handler, the error's message is written to standard error.
// The backend supplies a TEventSource: the native events (input, close, expose), the waiting, the
// wake-up from other threads, and the clock of the message timers.
#pragma once

#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace pavona::platform {

class TTimer;

using TMessageTargetId = std::uint32_t;  // 0 is never a valid target

// Message ids from here on are free for a program's own messages (the value of WM_USER).
inline constexpr std::uint32_t kFirstPrivateMessage = 0x0400;

struct TMessage {
  std::uint32_t Msg = 0;
  std::intptr_t WParam = 0;
  std::intptr_t LParam = 0;
};

using TMessageHandler = std::function<void(const TMessage&)>;
using TExceptionHandler = std::function<void(std::exception_ptr)>;

// The backend's half of the loop.
class TEventSource {
 public:
  virtual ~TEventSource() = default;
  // UI thread: turns the native events that are ready into posted work, without blocking.
  virtual void Pump() = 0;
  // UI thread: blocks until a native event arrives, Wake() is called or timeoutMs passes
  // (negative: no limit). Returns false when nothing can ever arrive again (the headless backend
  // when idle): Run() then returns TEventLoop::kIdle.
  virtual bool Wait(int timeoutMs) = 0;
  // Any thread: ends a Wait() early.
  virtual void Wake() = 0;
  // The clock of the message timers, in milliseconds.
  virtual std::uint64_t NowMs() const = 0;
};

class TEventLoop {
 public:
  static constexpr int kIdle = -1;  // Run() found nothing more to do and no quit request

  explicit TEventLoop(TEventSource& source);
  ~TEventLoop();
  TEventLoop(const TEventLoop&) = delete;
  TEventLoop& operator=(const TEventLoop&) = delete;

  // UI thread. Dispatches until the quit request is taken and returns its exit code (at once
  // when it was taken before).
  int Run();
  // UI thread. Dispatches everything that is ready now, due timer ticks included, without
  // waiting; returns false once the quit request has been taken (Application.ProcessMessages).
  bool ProcessMessages();
  bool Terminated() const { return FTerminated; }
  int ExitCode() const { return FExitCode; }

  // Any thread.
  void PostQuit(int exitCode = 0);
  void Post(std::function<void()> work);
  // Returns false when the target is not registered (the message is dropped).
  bool PostToTarget(TMessageTargetId target, std::uint32_t msg, std::intptr_t wParam = 0,
                   std::intptr_t lParam = 0);
  // Hands an exception caught on another thread to the exception handler on the UI thread.
  void PostException(std::exception_ptr error);

  // UI thread.
  TMessageTargetId RegisterTarget(TMessageHandler handler);
  // After this returns, no message is dispatched to the target any more.
  void UnregisterTarget(TMessageTargetId target);
  void SetExceptionHandler(TExceptionHandler handler) { FOnException = std::move(handler); }
  // Runs the exception handler; used by the loop at every dispatch boundary.
  void HandleException(std::exception_ptr error);
  // What happens without a handler: the error's message goes to standard error.
  static void ReportException(std::exception_ptr error);
  std::uint64_t NowMs() const { return FSource.NowMs(); }
  TEventSource& Source() { return FSource; }

 private:
  friend class TTimer;
  struct Item {
    enum class Kind { Work, Message, Quit } kind = Kind::Work;
    std::function<void()> work;
    TMessageTargetId target = 0;
    TMessage message;
    int exitCode = 0;
  };

  void Enqueue(Item item);
  // Dispatches one ready item or due tick; false when there was none.
  bool DispatchOne();
  bool FireDueTimer();
  int MsUntilNextTimer() const;
  void AddTimer(TTimer* timer);
  void RemoveTimer(TTimer* timer);

  TEventSource& FSource;
  mutable std::mutex FMutex;  // guards FQueue, FTargets, FNextTarget
  std::deque<Item> FQueue;
  std::map<TMessageTargetId, std::shared_ptr<TMessageHandler>> FTargets;
  TMessageTargetId FNextTarget = 1;
  std::vector<TTimer*> FTimers;  // UI thread only
  std::size_t FNextTimer = 0;    // round robin among due timers
  TExceptionHandler FOnException;
  bool FTerminated = false;
  int FExitCode = 0;
};

// A registered message target that unregisters itself (RAII). Post() may be called from any
// thread; the handler runs on the UI thread.
class TMessageTarget {
 public:
  TMessageTarget(TEventLoop& loop, TMessageHandler handler)
      : FLoop(loop), FId(loop.RegisterTarget(std::move(handler))) {}
  ~TMessageTarget() { FLoop.UnregisterTarget(FId); }
  TMessageTarget(const TMessageTarget&) = delete;
  TMessageTarget& operator=(const TMessageTarget&) = delete;

  TMessageTargetId Id() const { return FId; }
  bool Post(std::uint32_t msg, std::intptr_t wParam = 0, std::intptr_t lParam = 0) {
    return FLoop.PostToTarget(FId, msg, wParam, lParam);
  }

 private:
  TEventLoop& FLoop;
  TMessageTargetId FId;
};

}  // namespace pavona::platform
