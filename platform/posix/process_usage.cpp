#include "platform/process_usage.h"

#include <unistd.h>

#include <fstream>

#include "platform/files.h"

namespace pavona::platform {

std::uint64_t ResidentMemoryBytes() {
  std::ifstream statm("/proc/self/statm");
  std::uint64_t size = 0;
  std::uint64_t resident = 0;
  if (!(statm >> size >> resident)) return 0;
  return resident * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
}

int OpenDescriptorCount() {
  if (!IsDirectory("/proc/self/fd")) return -1;
  // The listing's own descriptor is among the entries while it is read.
  return static_cast<int>(ListDirectory("/proc/self/fd").size()) - 1;
}

}  // namespace pavona::platform
