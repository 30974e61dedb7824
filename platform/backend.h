// A backend: the host's event loop, main window and frame timers, as one object that a program
// creates first and destroys last. Two backends fill this interface: sdl/ (the desktop, library
// platform_sdl) and headless/ (tests, library platform_headless, with test controls of its own).
// A program links `platform` and exactly one backend library, whose CreateBackend() it calls.
#pragma once

#include <memory>
#include <stdexcept>

#include "platform/event_loop.h"
#include "platform/frame_timer.h"
#include "platform/window.h"

namespace pavona::platform {

// The host's window system could not be used (no display, no video driver).
class EPlatformError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TBackend {
 public:
  virtual ~TBackend() = default;
  virtual TEventLoop& Loop() = 0;
  // The program's one window; created hidden with the backend, shown by TWindow::Show().
  virtual TWindow& MainWindow() = 0;
  // A frame timer that posts its callback's exceptions to Loop().
  virtual std::unique_ptr<TFrameTimer> CreateFrameTimer() = 0;
};

// Defined by the linked backend library. Raises EPlatformError when the host cannot be used.
std::unique_ptr<TBackend> CreateBackend();

}  // namespace pavona::platform
