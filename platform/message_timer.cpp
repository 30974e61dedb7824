#include "platform/message_timer.h"

namespace pavona::platform {

TTimer::TTimer(TEventLoop& loop) : FLoop(loop) {
  FLoop.AddTimer(this);
  Restart();
}

TTimer::~TTimer() { FLoop.RemoveTimer(this); }

void TTimer::SetEnabled(bool enabled) {
  if (enabled == FEnabled) return;
  FEnabled = enabled;
  Restart();
}

void TTimer::SetInterval(std::uint32_t intervalMs) {
  if (intervalMs == FInterval) return;
  FInterval = intervalMs;
  Restart();
}

void TTimer::SetOnTimer(std::function<void()> handler) {
  FOnTimer = std::move(handler);
  Restart();
}

void TTimer::Restart() { FDue = FLoop.NowMs() + FInterval; }

}  // namespace pavona::platform
