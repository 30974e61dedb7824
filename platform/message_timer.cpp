#include "platform/message_timer.h"

namespace pavona::platform {

TTimer::TTimer(TEventLoop& loop) : loop_(loop) {
  loop_.AddTimer(this);
  Restart();
}

TTimer::~TTimer() { loop_.RemoveTimer(this); }

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Restart();
}

void TTimer::SetInterval(std::uint32_t intervalMs) {
  if (intervalMs == interval_) return;
  interval_ = intervalMs;
  Restart();
}

void TTimer::SetOnTimer(std::function<void()> handler) {
  onTimer_ = std::move(handler);
  Restart();
}

void TTimer::Restart() { due_ = loop_.NowMs() + interval_; }

}  // namespace pavona::platform
