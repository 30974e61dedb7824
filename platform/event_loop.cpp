#include "platform/event_loop.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <stdexcept>

#include "platform/message_timer.h"

namespace pavona::platform {

TEventLoop::TEventLoop(TEventSource& source) : source_(source) {}

TEventLoop::~TEventLoop() = default;

int TEventLoop::Run() {
  while (!terminated_) {
    if (DispatchOne()) continue;
    if (!source_.Wait(MsUntilNextTimer())) return kIdle;
  }
  return exitCode_;
}

bool TEventLoop::ProcessMessages() {
  while (!terminated_ && DispatchOne()) {
  }
  return !terminated_;
}

void TEventLoop::Enqueue(Item item) {
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(item));
  }
  source_.Wake();
}

void TEventLoop::PostQuit(int exitCode) {
  Item item;
  item.kind = Item::Kind::Quit;
  item.exitCode = exitCode;
  Enqueue(std::move(item));
}

void TEventLoop::Post(std::function<void()> work) {
  Item item;
  item.work = std::move(work);
  Enqueue(std::move(item));
}

bool TEventLoop::PostToTarget(TMessageTargetId target, std::uint32_t msg, std::intptr_t wParam,
                             std::intptr_t lParam) {
  {
    std::lock_guard lock(mutex_);
    if (targets_.find(target) == targets_.end()) return false;
    Item item;
    item.kind = Item::Kind::Message;
    item.target = target;
    item.message = {msg, wParam, lParam};
    queue_.push_back(std::move(item));
  }
  source_.Wake();
  return true;
}

void TEventLoop::PostException(std::exception_ptr error) {
  Post([error] { std::rethrow_exception(error); });
}

TMessageTargetId TEventLoop::RegisterTarget(TMessageHandler handler) {
  std::lock_guard lock(mutex_);
  while (nextTarget_ == 0 || targets_.count(nextTarget_) != 0) ++nextTarget_;
  const TMessageTargetId id = nextTarget_++;
  targets_.emplace(id, std::make_shared<TMessageHandler>(std::move(handler)));
  return id;
}

void TEventLoop::UnregisterTarget(TMessageTargetId target) {
  std::lock_guard lock(mutex_);
  targets_.erase(target);
}

void TEventLoop::HandleException(std::exception_ptr error) {
  if (onException_) {
    // The handler is the last stop: an error inside it must not end the loop.
    try {
      onException_(error);
    } catch (...) {
    }
    return;
  }
  ReportException(error);
}

void TEventLoop::ReportException(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
  } catch (...) {
    std::fprintf(stderr, "Unknown error\n");
  }
}

bool TEventLoop::DispatchOne() {
  source_.Pump();
  Item item;
  bool queued = false;
  {
    std::lock_guard lock(mutex_);
    if (!queue_.empty()) {
      item = std::move(queue_.front());
      queue_.pop_front();
      queued = true;
    }
  }
  // Outside the lock: a tick handler posts.
  if (!queued) return FireDueTimer();
  switch (item.kind) {
    case Item::Kind::Quit:
      terminated_ = true;
      exitCode_ = item.exitCode;
      break;
    case Item::Kind::Work:
      try {
        item.work();
      } catch (...) {
        HandleException(std::current_exception());
      }
      break;
    case Item::Kind::Message: {
      std::shared_ptr<TMessageHandler> handler;
      {
        std::lock_guard lock(mutex_);
        const auto found = targets_.find(item.target);
        if (found != targets_.end()) handler = found->second;
      }
      if (handler) {
        try {
          (*handler)(item.message);
        } catch (...) {
          HandleException(std::current_exception());
        }
      }
      break;
    }
  }
  return true;
}

bool TEventLoop::FireDueTimer() {
  if (timers_.empty()) return false;
  const std::uint64_t now = source_.NowMs();
  const std::size_t count = timers_.size();
  for (std::size_t i = 0; i < count; ++i) {
    TTimer* timer = timers_[(nextTimer_ + i) % count];
    if (!timer->Armed() || timer->due_ > now) continue;
    nextTimer_ = (nextTimer_ + i + 1) % count;
    timer->due_ = now + timer->interval_;
    // A copy, so that a handler that frees its own timer does not pull the code from under itself.
    const std::function<void()> handler = timer->onTimer_;
    try {
      handler();
    } catch (...) {
      HandleException(std::current_exception());
    }
    return true;
  }
  return false;
}

int TEventLoop::MsUntilNextTimer() const {
  const std::uint64_t now = source_.NowMs();
  std::uint64_t wait = UINT64_MAX;
  for (const TTimer* timer : timers_) {
    if (!timer->Armed()) continue;
    wait = std::min(wait, timer->due_ > now ? timer->due_ - now : 0);
  }
  if (wait == UINT64_MAX) return -1;
  return static_cast<int>(std::min<std::uint64_t>(wait, INT_MAX));
}

void TEventLoop::AddTimer(TTimer* timer) { timers_.push_back(timer); }

void TEventLoop::RemoveTimer(TTimer* timer) {
  std::erase(timers_, timer);
  nextTimer_ = 0;
}

}  // namespace pavona::platform
