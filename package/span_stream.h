// Reading a multi-part (split) archive: parts x.z01, x.z02, ... and the archive file itself as
// the last part. Reads run on from one part into the next; only the position can be asked for.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/stream.h"

namespace pavona::package {

// The file of part `disk` (from 0) of the set whose last part is archiveName.
std::string SpanPartName(const std::string& archiveName, std::uint32_t disk);

class TSpanReadStream final : public platform::TStream {
 public:
  // Called before a part other than the last is opened: may rename it or abort.
  using RequestImage = std::function<void(int ImageNumber, std::string& ImageName, bool& Abort)>;

  TSpanReadStream(std::string archiveName, std::uint32_t lastPart, RequestImage onRequestImage);

  // Opens part `part` and moves to offset in it.
  void GoTo(std::uint32_t part, std::int64_t offset);

  std::size_t Read(void* buffer, std::size_t count) override;
  void Write(const void* buffer, std::size_t count) override;
  // Only Seek(0, Current) is supported: the position inside the current part.
  std::int64_t Seek(std::int64_t offset, platform::SeekOrigin origin) override;

 private:
  void Open(std::uint32_t part);

  std::string FArchiveName;
  std::uint32_t FLastPart;
  std::uint32_t FCurrentPart = 0;
  RequestImage FOnRequestImage;
  std::unique_ptr<platform::TFileStream> FPart;
};

}  // namespace pavona::package
