#include "package/span_stream.h"

#include <cstdio>

#include "package/archive_error.h"
#include "platform/files.h"

namespace pavona::package {

std::string SpanPartName(const std::string& archiveName, std::uint32_t disk) {
  const std::string name = platform::FileNameOf(archiveName);
  const std::size_t dot = name.find_last_of('.');
  const std::string stem =
      archiveName.substr(0, archiveName.size() - (dot == std::string::npos ? 0 : name.size() - dot));
  const std::string extension = dot == std::string::npos ? std::string() : name.substr(dot + 1);
  char number[16];
  std::snprintf(number, sizeof number, "%02u", static_cast<unsigned>(disk + 1));
  return stem + "." + (extension.size() > 1 ? extension.substr(0, 1) : std::string()) + number;
}

TSpanReadStream::TSpanReadStream(std::string archiveName, std::uint32_t lastPart,
                                 RequestImage onRequestImage)
    : FArchiveName(std::move(archiveName)), FLastPart(lastPart),
      FOnRequestImage(std::move(onRequestImage)) {}

void TSpanReadStream::Open(std::uint32_t part) {
  std::string name = FArchiveName;
  if (part != FLastPart) {
    name = SpanPartName(FArchiveName, part);
    bool abort = false;
    if (FOnRequestImage) FOnRequestImage(static_cast<int>(part + 1), name, abort);
    if (abort) throw EUserAbort();
  }
  FPart = std::make_unique<platform::TFileStream>(name, platform::FileMode::Read);
  FCurrentPart = part;
}

void TSpanReadStream::GoTo(std::uint32_t part, std::int64_t offset) {
  if (part > FLastPart) throw EZipInvalid();
  if (!FPart || part != FCurrentPart) Open(part);
  FPart->Seek(offset, platform::SeekOrigin::Begin);
}

std::size_t TSpanReadStream::Read(void* buffer, std::size_t count) {
  if (!FPart) Open(FCurrentPart);
  for (;;) {
    const std::size_t got = FPart->Read(buffer, count);
    if (got > 0 || count == 0 || FCurrentPart >= FLastPart) return got;
    Open(FCurrentPart + 1);
  }
}

void TSpanReadStream::Write(const void*, std::size_t) {
  throw platform::EStreamError("TSpanReadStream.Write not supported");
}

std::int64_t TSpanReadStream::Seek(std::int64_t offset, platform::SeekOrigin origin) {
  if (offset != 0 || origin != platform::SeekOrigin::Current) {
    throw EArchiveException("TSpanReadStream.Seek unsupported");
  }
  return FPart ? FPart->Position() : 0;
}

}  // namespace pavona::package
