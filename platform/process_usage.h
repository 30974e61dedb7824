// What the running process holds of the host's resources, for long-run checks.
#pragma once

#include <cstdint>

namespace pavona::platform {

// The process's resident memory in bytes; 0 when the host cannot tell.
std::uint64_t ResidentMemoryBytes();
// The number of open file descriptors (handles); -1 when the host cannot tell.
int OpenDescriptorCount();

}  // namespace pavona::platform
