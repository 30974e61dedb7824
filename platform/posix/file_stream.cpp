#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/stream.h"

namespace pavona::platform {

namespace {

int OpenFlags(FileMode mode) {
  switch (mode) {
    case FileMode::Read: return O_RDONLY;
    case FileMode::ReadWrite: return O_RDWR;
    case FileMode::Create: return O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW;
    case FileMode::CreateNew: return O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW;
  }
  return O_RDONLY;
}

}  // namespace

TFileStream::TFileStream(const std::string& path, FileMode mode) : path_(path) {
  handle_ = ::open(path.c_str(), OpenFlags(mode) | O_CLOEXEC, 0644);
  if (handle_ < 0) {
    const bool creating = mode == FileMode::Create || mode == FileMode::CreateNew;
    throw EStreamError((creating ? "Cannot create file \"" : "Cannot open file \"") + path +
                       "\". " + std::strerror(errno));
  }
  struct stat st {};
  if (::fstat(handle_, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(handle_);
    handle_ = -1;
    throw EStreamError("Cannot open file \"" + path + "\". Is a directory");
  }
}

TFileStream::~TFileStream() {
  if (handle_ >= 0) ::close(handle_);
}

TFileStream::TFileStream(TFileStream&& other) noexcept
    : path_(std::move(other.path_)), handle_(std::exchange(other.handle_, -1)) {}

TFileStream& TFileStream::operator=(TFileStream&& other) noexcept {
  if (this != &other) {
    if (handle_ >= 0) ::close(handle_);
    path_ = std::move(other.path_);
    handle_ = std::exchange(other.handle_, -1);
  }
  return *this;
}

std::size_t TFileStream::Read(void* buffer, std::size_t count) {
  for (;;) {
    const ssize_t n = ::read(handle_, buffer, count);
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno != EINTR) throw EStreamError("Stream read error");
  }
}

void TFileStream::Write(const void* buffer, std::size_t count) {
  const auto* in = static_cast<const std::uint8_t*>(buffer);
  while (count > 0) {
    const ssize_t n = ::write(handle_, in, count);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EStreamError("Stream write error");
    }
    in += n;
    count -= static_cast<std::size_t>(n);
  }
}

std::int64_t TFileStream::Seek(std::int64_t offset, SeekOrigin origin) {
  const int whence = origin == SeekOrigin::Begin ? SEEK_SET
                     : origin == SeekOrigin::Current ? SEEK_CUR : SEEK_END;
  const off_t result = ::lseek(handle_, static_cast<off_t>(offset), whence);
  if (result < 0) throw EStreamError("Stream seek error");
  return static_cast<std::int64_t>(result);
}

}  // namespace pavona::platform
