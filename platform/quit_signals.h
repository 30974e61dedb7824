// The host's requests to end the program (here SIGTERM, SIGINT and SIGHUP) turned into a call on
// an ordinary thread, so that the program ends the way its own close command ends it. The signal
// handler does nothing but write one byte to a pipe; a watcher thread reads it and calls
// OnSignal, which may therefore post to the event loop. One instance at a time.
#pragma once

#include <cstddef>
#include <functional>
#include <thread>

namespace pavona::platform {

class TQuitSignals {
 public:
  // Installs the handlers; raises std::system_error when the pipe or a handler cannot be made.
  explicit TQuitSignals(std::function<void()> onSignal);
  // Restores the handlers that were there before and stops the watcher.
  ~TQuitSignals();
  TQuitSignals(const TQuitSignals&) = delete;
  TQuitSignals& operator=(const TQuitSignals&) = delete;

 private:
  void Watch();
  // Restores the first `installed` handlers, ends the watcher and closes the pipe.
  void Stop(std::size_t installed);

  std::function<void()> FOnSignal;
  int FReadEnd = -1;
  int FWriteEnd = -1;
  std::thread FWatcher;
};

}  // namespace pavona::platform
