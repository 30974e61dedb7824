#include "platform/event_loop.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <stdexcept>

#include "platform/message_timer.h"

namespace pavona::platform {

TEventLoop::TEventLoop(TEventSource& source) : FSource(source) {}

TEventLoop::~TEventLoop() = default;

int TEventLoop::Run() {
  while (!FTerminated) {
    if (DispatchOne()) continue;
    if (!FSource.Wait(MsUntilNextTimer())) return kIdle;
  }
  return FExitCode;
}

bool TEventLoop::ProcessMessages() {
  while (!FTerminated && DispatchOne()) {
  }
  return !FTerminated;
}

void TEventLoop::Enqueue(Item item) {
  {
    std::lock_guard lock(FMutex);
    FQueue.push_back(std::move(item));
  }
  FSource.Wake();
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
    std::lock_guard lock(FMutex);
    if (FTargets.find(target) == FTargets.end()) return false;
    Item item;
    item.kind = Item::Kind::Message;
    item.target = target;
    item.message = {msg, wParam, lParam};
    FQueue.push_back(std::move(item));
  }
  FSource.Wake();
  return true;
}

void TEventLoop::PostException(std::exception_ptr error) {
  Post([error] { std::rethrow_exception(error); });
}

TMessageTargetId TEventLoop::RegisterTarget(TMessageHandler handler) {
  std::lock_guard lock(FMutex);
  while (FNextTarget == 0 || FTargets.count(FNextTarget) != 0) ++FNextTarget;
  const TMessageTargetId id = FNextTarget++;
  FTargets.emplace(id, std::make_shared<TMessageHandler>(std::move(handler)));
  return id;
}

void TEventLoop::UnregisterTarget(TMessageTargetId target) {
  std::lock_guard lock(FMutex);
  FTargets.erase(target);
}

void TEventLoop::HandleException(std::exception_ptr error) {
  if (FOnException) {
    // The handler is the last stop: an error inside it must not end the loop.
    try {
      FOnException(error);
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
  FSource.Pump();
  Item item;
  bool queued = false;
  {
    std::lock_guard lock(FMutex);
    if (!FQueue.empty()) {
      item = std::move(FQueue.front());
      FQueue.pop_front();
      queued = true;
    }
  }
  // Outside the lock: a tick handler posts.
  if (!queued) return FireDueTimer();
  switch (item.kind) {
    case Item::Kind::Quit:
      FTerminated = true;
      FExitCode = item.exitCode;
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
        std::lock_guard lock(FMutex);
        const auto found = FTargets.find(item.target);
        if (found != FTargets.end()) handler = found->second;
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
  if (FTimers.empty()) return false;
  const std::uint64_t now = FSource.NowMs();
  const std::size_t count = FTimers.size();
  for (std::size_t i = 0; i < count; ++i) {
    TTimer* timer = FTimers[(FNextTimer + i) % count];
    if (!timer->Armed() || timer->FDue > now) continue;
    FNextTimer = (FNextTimer + i + 1) % count;
    timer->FDue = now + timer->FInterval;
    // A copy, so that a handler that frees its own timer does not pull the code from under itself.
    const std::function<void()> handler = timer->FOnTimer;
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
  const std::uint64_t now = FSource.NowMs();
  std::uint64_t wait = UINT64_MAX;
  for (const TTimer* timer : FTimers) {
    if (!timer->Armed()) continue;
    wait = std::min(wait, timer->FDue > now ? timer->FDue - now : 0);
  }
  if (wait == UINT64_MAX) return -1;
  return static_cast<int>(std::min<std::uint64_t>(wait, INT_MAX));
}

void TEventLoop::AddTimer(TTimer* timer) { FTimers.push_back(timer); }

void TEventLoop::RemoveTimer(TTimer* timer) {
  std::erase(FTimers, timer);
  FNextTimer = 0;
}

}  // namespace pavona::platform
