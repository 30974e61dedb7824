#include "app/application_events.h"

namespace pavona::app {

TApplicationEvents::TApplicationEvents(platform::TEventLoop& loop) : loop_(loop) {
  loop_.SetExceptionHandler([this](std::exception_ptr error) {
    if (OnException) {
      OnException(error);
    } else {
      platform::TEventLoop::ReportException(error);
    }
  });
}

TApplicationEvents::~TApplicationEvents() { loop_.SetExceptionHandler(nullptr); }

}  // namespace pavona::app
