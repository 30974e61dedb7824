#include "app/working_folder.h"

#include "platform/files.h"

namespace pavona::app {

std::string WorkingFolderPath(const std::string& tempFolder) {
  // Not JoinPath: a temp folder at the root of the file system reads as "", and the working
  // folder must stay absolute there.
  return tempFolder + platform::PathSeparator() + kWorkingFolderName;
}

bool IsSafeWorkingFolder(const std::string& path) {
  return platform::IsDirectory(path) && platform::IsOwnedByCurrentUser(path);
}

bool IsDeletableByUs(const std::string& path) {
  return !platform::IsSymbolicLink(path) && platform::IsOwnedByCurrentUser(path);
}

}  // namespace pavona::app
