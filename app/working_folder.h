// The working folder: one fixed folder under the temporary-files folder that the show is
// extracted into and that is deleted at exit. Since the folder's name is fixed and temporary-files
// folders are shared, a folder that is a symbolic link or that another user made is never
// extracted into nor deleted through.
#pragma once

#include <string>

namespace pavona::app {

// The fixed name of the working folder under the temporary-files folder.
inline constexpr const char* kWorkingFolderName = "Pavona";

// tempFolder (no trailing separator) + separator + "Pavona".
std::string WorkingFolderPath(const std::string& tempFolder);

// True when the path is a real folder (not a symbolic link) owned by the user running us: the
// only kind of working folder that may be extracted into.
bool IsSafeWorkingFolder(const std::string& path);

// True when the path is not a symbolic link and belongs to the user running us.
bool IsDeletableByUs(const std::string& path);

}  // namespace pavona::app
