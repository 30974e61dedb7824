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

// FHandle holds the file descriptor, or -1.
int Descriptor(std::intptr_t handle) { return static_cast<int>(handle); }

}  // namespace

TFileStream::TFileStream(const std::string& path, FileMode mode) : FPath(path), FHandle(-1) {
  const int fd = ::open(path.c_str(), OpenFlags(mode) | O_CLOEXEC, 0644);
  if (fd < 0) {
    const bool creating = mode == FileMode::Create || mode == FileMode::CreateNew;
    throw EStreamError(creating ? TStreamFailure::Create : TStreamFailure::Open, path,
                       std::strerror(errno));
  }
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    throw EStreamError(TStreamFailure::Open, path, "Is a directory");
  }
  FHandle = fd;
}

TFileStream::~TFileStream() {
  if (FHandle >= 0) ::close(Descriptor(FHandle));
}

TFileStream::TFileStream(TFileStream&& other) noexcept
    : FPath(std::move(other.FPath)), FHandle(std::exchange(other.FHandle, -1)) {}

TFileStream& TFileStream::operator=(TFileStream&& other) noexcept {
  if (this != &other) {
    if (FHandle >= 0) ::close(Descriptor(FHandle));
    FPath = std::move(other.FPath);
    FHandle = std::exchange(other.FHandle, -1);
  }
  return *this;
}

std::size_t TFileStream::Read(void* buffer, std::size_t count) {
  for (;;) {
    const ssize_t n = ::read(Descriptor(FHandle), buffer, count);
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno != EINTR) throw EStreamError(TStreamFailure::Read);
  }
}

void TFileStream::Write(const void* buffer, std::size_t count) {
  const auto* in = static_cast<const std::uint8_t*>(buffer);
  while (count > 0) {
    const ssize_t n = ::write(Descriptor(FHandle), in, count);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EStreamError(TStreamFailure::Write);
    }
    in += n;
    count -= static_cast<std::size_t>(n);
  }
}

std::int64_t TFileStream::Seek(std::int64_t offset, SeekOrigin origin) {
  const int whence = origin == SeekOrigin::Begin ? SEEK_SET
                     : origin == SeekOrigin::Current ? SEEK_CUR : SEEK_END;
  const off_t result = ::lseek(Descriptor(FHandle), static_cast<off_t>(offset), whence);
  if (result < 0) throw EStreamError(TStreamFailure::Seek);
  return static_cast<std::int64_t>(result);
}

}  // namespace pavona::platform
