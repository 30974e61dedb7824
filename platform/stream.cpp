#include "platform/stream.h"

#include <algorithm>
#include <cstring>

namespace pavona::platform {

std::int64_t TStream::Size() {
  const std::int64_t here = Position();
  const std::int64_t end = Seek(0, SeekOrigin::End);
  Seek(here, SeekOrigin::Begin);
  return end;
}

void TStream::ReadExact(void* buffer, std::size_t count) {
  auto* out = static_cast<std::uint8_t*>(buffer);
  while (count > 0) {
    const std::size_t got = Read(out, count);
    if (got == 0) throw EStreamError("Stream read error");
    out += got;
    count -= got;
  }
}

std::size_t TMemoryStream::Read(void* buffer, std::size_t count) {
  if (position_ >= bytes_.size()) return 0;
  const std::size_t n = std::min(count, bytes_.size() - position_);
  std::memcpy(buffer, bytes_.data() + position_, n);
  position_ += n;
  return n;
}

void TMemoryStream::Write(const void* buffer, std::size_t count) {
  if (count == 0) return;
  if (position_ + count > bytes_.size()) bytes_.resize(position_ + count);
  std::memcpy(bytes_.data() + position_, buffer, count);
  position_ += count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, SeekOrigin origin) {
  std::int64_t base = 0;
  if (origin == SeekOrigin::Current) base = static_cast<std::int64_t>(position_);
  if (origin == SeekOrigin::End) base = static_cast<std::int64_t>(bytes_.size());
  const std::int64_t target = base + offset;
  if (target < 0) throw EStreamError("Stream seek error");
  position_ = static_cast<std::size_t>(target);
  return target;
}

}  // namespace pavona::platform
