#include "platform/stream.h"

#include <algorithm>
#include <cstring>

namespace pavona::platform {

namespace {

std::string StreamMessage(TStreamFailure failure, const std::string& path, const std::string& reason) {
  const auto withReason = [&](const char* lead) {
    std::string text = lead + path + "\".";
    if (!reason.empty()) text += " " + reason;
    return text;
  };
  switch (failure) {
    case TStreamFailure::Open: return withReason("Cannot open file \"");
    case TStreamFailure::Create: return withReason("Cannot create file \"");
    case TStreamFailure::Read: return "Stream read error";
    case TStreamFailure::Write: return "Stream write error";
    case TStreamFailure::Seek: return "Stream seek error";
    case TStreamFailure::Other: break;
  }
  return reason;
}

}  // namespace

EStreamError::EStreamError(TStreamFailure failure, std::string path, std::string reason)
    : std::runtime_error(StreamMessage(failure, path, reason)),
      FFailure(failure),
      FPath(std::move(path)),
      FReason(std::move(reason)) {}

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
    if (got == 0) throw EStreamError(TStreamFailure::Read);
    out += got;
    count -= got;
  }
}

std::size_t TMemoryStream::Read(void* buffer, std::size_t count) {
  if (FPosition >= FBytes.size()) return 0;
  const std::size_t n = std::min(count, FBytes.size() - FPosition);
  std::memcpy(buffer, FBytes.data() + FPosition, n);
  FPosition += n;
  return n;
}

void TMemoryStream::Write(const void* buffer, std::size_t count) {
  if (count == 0) return;
  if (FPosition + count > FBytes.size()) FBytes.resize(FPosition + count);
  std::memcpy(FBytes.data() + FPosition, buffer, count);
  FPosition += count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, SeekOrigin origin) {
  std::int64_t base = 0;
  if (origin == SeekOrigin::Current) base = static_cast<std::int64_t>(FPosition);
  if (origin == SeekOrigin::End) base = static_cast<std::int64_t>(FBytes.size());
  const std::int64_t target = base + offset;
  if (target < 0) throw EStreamError(TStreamFailure::Seek);
  FPosition = static_cast<std::size_t>(target);
  return target;
}

}  // namespace pavona::platform
