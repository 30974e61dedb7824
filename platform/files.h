// Files, folders and paths of the host. Paths are UTF-8 strings in the host's own form.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace pavona::platform {

// The host's path separator: '/' here.
char PathSeparator();
// Joins a folder and a name with exactly one separator between them.
std::string JoinPath(const std::string& folder, const std::string& name);
// The folder part of a path (before the last separator; the root for a name in it); "" when the
// path names no folder.
std::string FolderOf(const std::string& path);
// The last component of a path (after the last separator).
std::string FileNameOf(const std::string& path);
// The extension without its dot, as written ("" when there is none).
std::string ExtensionOf(const std::string& path);

bool PathExists(const std::string& path);  // does not follow a final symbolic link
bool IsDirectory(const std::string& path); // a real folder, not a link to one
bool IsSymbolicLink(const std::string& path);
bool IsOwnedByCurrentUser(const std::string& path);

// Creates the folder and every missing parent; returns false when it could not.
bool CreateDirectories(const std::string& path);
// Deletes a file, or a folder with everything in it, never following symbolic links (a link is
// removed, not its target). Silent: returns false when anything could not be removed.
bool RemoveTree(const std::string& path);
bool RemoveFile(const std::string& path);
// The bytes this user may still write on the file system that holds folder; std::nullopt when
// the host cannot tell.
std::optional<std::uint64_t> FreeSpace(const std::string& folder);
// Replaces `to` by `from` in one step; a link named `to` is replaced, never followed. Returns
// false, with the host's reason in `error`, when it could not.
bool RenameFile(const std::string& from, const std::string& to, std::string* error = nullptr);

// The modification time, as the host's seconds since the epoch.
bool SetModificationTime(const std::string& path, std::time_t time);
// Read-only clears every write bit; otherwise the owner may write.
bool SetReadOnly(const std::string& path, bool readOnly);
bool IsReadOnly(const std::string& path);
bool SetExecutable(const std::string& path);

// The absolute, resolved form of an existing path; the path itself when it does not exist.
std::string CanonicalPath(const std::string& path);
// Creates a new, empty folder only this user may enter, under the host's folder for temporary
// files, and returns its path; "" when it could not.
std::string CreateTemporaryDirectory();
std::string CurrentDirectory();
// The file of the running program.
std::string ExecutablePath();

// Names (not paths) of the entries of a folder, sorted; empty when it cannot be read.
std::vector<std::string> ListDirectory(const std::string& path);

std::optional<std::string> EnvironmentValue(const std::string& name);
// Sets the variable, or removes it when value is std::nullopt.
bool SetEnvironmentValue(const std::string& name, const std::optional<std::string>& value);
bool ChangeCurrentDirectory(const std::string& path);
// Makes link a symbolic link that points to target.
bool MakeSymbolicLink(const std::string& target, const std::string& link);

}  // namespace pavona::platform
