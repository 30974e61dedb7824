#include "platform/quit_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <system_error>

namespace pavona::platform {

namespace {

constexpr std::array<int, 3> kQuitSignals = {SIGTERM, SIGINT, SIGHUP};
constexpr char kStop = 0;
constexpr char kSignalled = 1;

// The write end for the handler; -1 while no instance exists.
volatile sig_atomic_t gWriteEnd = -1;
std::array<struct sigaction, kQuitSignals.size()> gPrevious{};

extern "C" void OnQuitSignal(int) {
  const int saved = errno;
  const int fd = gWriteEnd;
  // A full pipe already holds a wake-up, so a failed write loses nothing.
  if (fd >= 0) [[maybe_unused]] const ssize_t n = ::write(fd, &kSignalled, 1);
  errno = saved;
}

[[noreturn]] void Fail(const char* what) {
  throw std::system_error(errno, std::generic_category(), what);
}

}  // namespace

TQuitSignals::TQuitSignals(std::function<void()> onSignal) : FOnSignal(std::move(onSignal)) {
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) Fail("Cannot make the signal pipe");
  FReadEnd = ends[0];
  FWriteEnd = ends[1];
  ::fcntl(FWriteEnd, F_SETFL, O_NONBLOCK);
  gWriteEnd = FWriteEnd;
  FWatcher = std::thread([this] { Watch(); });
  struct sigaction action {};
  action.sa_handler = OnQuitSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < kQuitSignals.size(); ++i) {
    if (::sigaction(kQuitSignals[i], &action, &gPrevious[i]) != 0) {
      const int error = errno;
      Stop(i);
      errno = error;
      Fail("Cannot handle the quit signals");
    }
  }
}

TQuitSignals::~TQuitSignals() { Stop(kQuitSignals.size()); }

void TQuitSignals::Stop(std::size_t installed) {
  for (std::size_t i = 0; i < installed; ++i) ::sigaction(kQuitSignals[i], &gPrevious[i], nullptr);
  gWriteEnd = -1;
  // The watcher drains a pipe that signals have filled, so the stop byte gets in eventually.
  while (::write(FWriteEnd, &kStop, 1) < 0 && (errno == EINTR || errno == EAGAIN)) {
    std::this_thread::yield();
  }
  FWatcher.join();
  ::close(FReadEnd);
  ::close(FWriteEnd);
}

void TQuitSignals::Watch() {
  for (;;) {
    char byte = kStop;
    const ssize_t n = ::read(FReadEnd, &byte, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0 || byte == kStop) return;
    FOnSignal();
  }
}

}  // namespace pavona::platform
