// TApplicationEvents: the receiver of application-wide events. While it exists, every error that
// reaches the event loop goes to its OnException; unassigned, the error's message is reported.
#pragma once

#include <exception>
#include <functional>

#include "platform/event_loop.h"

namespace pavona::app {

class TApplicationEvents {
 public:
  explicit TApplicationEvents(platform::TEventLoop& loop);
  ~TApplicationEvents();
  TApplicationEvents(const TApplicationEvents&) = delete;
  TApplicationEvents& operator=(const TApplicationEvents&) = delete;

  std::function<void(std::exception_ptr)> OnException;

 private:
  platform::TEventLoop& FLoop;
};

}  // namespace pavona::app
