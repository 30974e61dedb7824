// pavona-viewer: plays the show appended to this executable, full screen.
#include <cstdio>
#include <exception>

#include "app/main_form.h"

int main() {
  std::unique_ptr<pavona::platform::TBackend> backend;
  try {
    backend = pavona::platform::CreateBackend();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "pavona-viewer: %s\n", e.what());
    return 1;
  }
  const int exitCode = pavona::app::RunViewer(*backend);
  return exitCode < 0 ? 0 : exitCode;
}
