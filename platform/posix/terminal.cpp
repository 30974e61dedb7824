#include "platform/terminal.h"

#include <unistd.h>

namespace pavona::platform {

bool StandardErrorIsTerminal() { return isatty(STDERR_FILENO) == 1; }

}  // namespace pavona::platform
