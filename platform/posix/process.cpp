#include "platform/process.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>

extern char** environ;

namespace pavona::platform {

int RunProgram(const std::string& path) {
  pid_t child = 0;
  char* const argv[] = {const_cast<char*>(path.c_str()), nullptr};
  if (posix_spawn(&child, path.c_str(), nullptr, nullptr, argv, environ) != 0) return -1;
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

}  // namespace pavona::platform
