// Writes a ZIP archive into a stream that may already hold other bytes (the player of a show):
// every offset in the archive is a position in that stream, so it counts from the stream's start.
// Entries are deflated (raw Deflate) unless that does not make them smaller; then they are
// stored. No ZIP64: an archive that would need it is refused.
#pragma once

#include <cstdint>
#include <ctime>
#include <stdexcept>
#include <string>
#include <vector>

#include "package/zip_methods.h"
#include "platform/stream.h"

namespace pavona::tools {

class EZipWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TZipEntryInfo {
  std::string Name;
  std::uint16_t Method = package::zip_method::kStored;  // or kDeflated
  std::uint32_t Crc32 = 0;
  std::uint32_t CompressedSize = 0;
  std::uint32_t Size = 0;
  std::uint16_t DosTime = 0;
  std::uint16_t DosDate = 0;
  std::uint32_t HeaderOffset = 0;
};

// The DOS date and time of a moment, in local time, clamped to 1980..2107.
void ToDosDateTime(std::time_t moment, std::uint16_t& date, std::uint16_t& time);

class TZipWriter {
 public:
  // Entries are written from out's current position on.
  explicit TZipWriter(platform::TStream& out) : FOut(out) {}

  // Adds the whole of source (read from its start, twice: once to measure, once to write) under
  // name, a UTF-8 file name. Raises EZipWriteError when the archive would grow past what a ZIP
  // without ZIP64 holds, or when source changes between the two readings.
  const TZipEntryInfo& Add(const std::string& name, platform::TStream& source,
                           std::time_t modified);
  // Writes the central directory and the end record.
  void Finish();

 private:
  platform::TStream& FOut;
  std::vector<TZipEntryInfo> FEntries;
};

}  // namespace pavona::tools
