// Whether the program's output streams reach a person at a terminal, for tools that show
// progress only there.
#pragma once

namespace pavona::platform {

bool StandardErrorIsTerminal();

}  // namespace pavona::platform
