#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace pavona::platform {

namespace {

bool Lstat(const std::string& path, struct stat& st) { return ::lstat(path.c_str(), &st) == 0; }

}  // namespace

char PathSeparator() { return '/'; }

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  std::string result = folder;
  if (result.back() != '/') result += '/';
  std::size_t start = 0;
  while (start < name.size() && name[start] == '/') ++start;
  result.append(name, start, std::string::npos);
  return result;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return std::string();
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string FileNameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ExtensionOf(const std::string& path) {
  const std::string name = FileNameOf(path);
  const std::size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

bool PathExists(const std::string& path) {
  struct stat st {};
  return Lstat(path, st);
}

bool IsDirectory(const std::string& path) {
  struct stat st {};
  return Lstat(path, st) && S_ISDIR(st.st_mode);
}

bool IsSymbolicLink(const std::string& path) {
  struct stat st {};
  return Lstat(path, st) && S_ISLNK(st.st_mode);
}

bool IsOwnedByCurrentUser(const std::string& path) {
  struct stat st {};
  return Lstat(path, st) && st.st_uid == ::geteuid();
}

bool CreateDirectories(const std::string& path) {
  if (path.empty()) return false;
  if (IsDirectory(path)) return true;
  const std::size_t slash = path.find_last_of('/', path.size() > 1 ? path.size() - 2 : 0);
  if (slash != std::string::npos && slash > 0) {
    if (!CreateDirectories(path.substr(0, slash))) return false;
  }
  if (::mkdir(path.c_str(), 0755) == 0) return true;
  return errno == EEXIST && IsDirectory(path);
}

namespace {

// Removes the entries of the folder open as dirFd, then the folder named name inside parentFd.
bool RemoveAt(int parentFd, const char* name) {
  struct stat st {};
  if (::fstatat(parentFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return false;
  if (!S_ISDIR(st.st_mode)) return ::unlinkat(parentFd, name, 0) == 0;

  const int dirFd = ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (dirFd < 0) return false;
  DIR* dir = ::fdopendir(dirFd);
  if (dir == nullptr) {
    ::close(dirFd);
    return false;
  }
  bool ok = true;
  std::vector<std::string> names;
  while (dirent* entry = ::readdir(dir)) {
    if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
    names.emplace_back(entry->d_name);
  }
  for (const std::string& child : names) ok = RemoveAt(::dirfd(dir), child.c_str()) && ok;
  ::closedir(dir);
  return ::unlinkat(parentFd, name, AT_REMOVEDIR) == 0 && ok;
}

}  // namespace

bool RemoveTree(const std::string& path) { return RemoveAt(AT_FDCWD, path.c_str()); }

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

std::optional<std::uint64_t> FreeSpace(const std::string& folder) {
  struct statvfs info {};
  if (::statvfs(folder.c_str(), &info) != 0) return std::nullopt;
  return std::uint64_t{info.f_bavail} * info.f_frsize;
}

bool RenameFile(const std::string& from, const std::string& to, std::string* error) {
  if (::rename(from.c_str(), to.c_str()) == 0) return true;
  if (error != nullptr) *error = std::strerror(errno);
  return false;
}

bool SetModificationTime(const std::string& path, std::time_t time) {
  const struct timespec times[2] = {{0, UTIME_OMIT}, {time, 0}};
  return ::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) == 0;
}

bool SetReadOnly(const std::string& path, bool readOnly) {
  struct stat st {};
  if (!Lstat(path, st) || S_ISLNK(st.st_mode)) return false;
  mode_t mode = st.st_mode & 07777;
  mode = readOnly ? (mode & ~(S_IWUSR | S_IWGRP | S_IWOTH)) : (mode | S_IWUSR);
  return ::chmod(path.c_str(), mode) == 0;
}

bool IsReadOnly(const std::string& path) {
  struct stat st {};
  return Lstat(path, st) && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

bool SetExecutable(const std::string& path) {
  struct stat st {};
  if (!Lstat(path, st) || S_ISLNK(st.st_mode)) return false;
  return ::chmod(path.c_str(), (st.st_mode & 07777) | S_IXUSR | S_IXGRP | S_IXOTH) == 0;
}

std::string CanonicalPath(const std::string& path) {
  std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                       &std::free);
  return resolved ? std::string(resolved.get()) : path;
}

std::string CreateTemporaryDirectory() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = JoinPath(base != nullptr && *base != '\0' ? base : "/tmp", "pavona-XXXXXX");
  return ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

std::string CurrentDirectory() {
  std::unique_ptr<char, decltype(&std::free)> cwd(::getcwd(nullptr, 0), &std::free);
  return cwd ? std::string(cwd.get()) : std::string(".");
}

std::string ExecutablePath() {
  std::string buffer(PATH_MAX, '\0');
  const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (n <= 0) return std::string();
  buffer.resize(static_cast<std::size_t>(n));
  return buffer;
}

std::vector<std::string> ListDirectory(const std::string& path) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(path.c_str());
  if (dir == nullptr) return names;
  while (dirent* entry = ::readdir(dir)) {
    if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
    names.emplace_back(entry->d_name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

std::optional<std::string> EnvironmentValue(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

bool SetEnvironmentValue(const std::string& name, const std::optional<std::string>& value) {
  if (!value) return ::unsetenv(name.c_str()) == 0;
  return ::setenv(name.c_str(), value->c_str(), 1) == 0;
}

bool ChangeCurrentDirectory(const std::string& path) { return ::chdir(path.c_str()) == 0; }

bool MakeSymbolicLink(const std::string& target, const std::string& link) {
  return ::symlink(target.c_str(), link.c_str()) == 0;
}

}  // namespace pavona::platform
