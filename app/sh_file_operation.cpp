#include "app/sh_file_operation.h"

#include "app/working_folder.h"
#include "platform/files.h"

namespace pavona::app {

bool TSHFileOperation::Execute() {
  FLastError.clear();
  bool ok = true;
  for (const std::string& path : SourceFiles) {
    std::string error;
    if (!platform::PathExists(path)) {
      error = "Cannot find " + path;
    } else if (!IsDeletableByUs(path)) {
      error = "Refused to delete " + path + ": a symbolic link, or owned by another user";
    } else if (!platform::RemoveTree(path)) {
      error = "Cannot delete " + path;
    }
    if (!error.empty()) {
      FLastError = error;
      ok = false;
    }
  }
  return ok;
}

}  // namespace pavona::app
