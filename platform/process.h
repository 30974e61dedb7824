// Running another program and waiting for it.
#pragma once

#include <string>

namespace pavona::platform {

// Runs the executable file at path without arguments, with this program's standard streams and
// environment, and waits for it to end. Returns its exit code; 128 plus the signal's number
// when a signal ended it; -1 when it could not be started.
int RunProgram(const std::string& path);

}  // namespace pavona::platform
