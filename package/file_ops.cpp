#include "package/file_ops.h"

#include <filesystem>
#include <system_error>

#include "platform/stream.h"

namespace pavona::package {

void RenameFile(const std::string& from, const std::string& to) {
  std::error_code error;
  std::filesystem::rename(from, to, error);
  if (error) throw platform::EStreamError("Cannot create file \"" + to + "\". " + error.message());
}

}  // namespace pavona::package
