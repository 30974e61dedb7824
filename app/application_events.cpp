#include "app/application_events.h"

namespace pavona::app {

TApplicationEvents::TApplicationEvents(platform::TEventLoop& loop) : FLoop(loop) {
  FLoop.SetExceptionHandler([this](std::exception_ptr error) {
    if (OnException) {
      OnException(error);
    } else {
      platform::TEventLoop::ReportException(error);
    }
  });
}

TApplicationEvents::~TApplicationEvents() { FLoop.SetExceptionHandler(nullptr); }

}  // namespace pavona::app
