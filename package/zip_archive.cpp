#include "package/zip_archive.h"

#include <algorithm>
#include <vector>

#include "package/archive_error.h"
#include "package/little_endian.h"
#include "package/span_stream.h"
#include "platform/files.h"

namespace pavona::package {

using platform::SeekOrigin;

namespace {

constexpr std::uint32_t kZip64LocatorSignature = 0x07064B50;
constexpr std::uint32_t kZip64EndSignature = 0x06064B50;
constexpr std::size_t kLocatorSize = 20;
constexpr std::size_t kZip64EndSize = 56;

platform::FileMode FileModeOf(std::uint16_t mode) {
  if ((mode & 0xFF00) == 0xFF00) return platform::FileMode::Create;
  return (mode & 3) != 0 ? platform::FileMode::ReadWrite : platform::FileMode::Read;
}

// The highest position below the end record where a Zip64 locator signature starts, or -1. It
// normally stands right in front of the end record; the search goes on toward the start of the
// file in blocks, so a damaged file costs a few large reads instead of one read per byte.
std::int64_t FindZip64Locator(platform::TStream& file, std::int64_t endRecord) {
  constexpr std::int64_t kBlock = 65536;
  std::vector<std::uint8_t> buffer;
  std::int64_t top = endRecord - static_cast<std::int64_t>(kLocatorSize);  // highest start tried
  while (top >= 0) {
    const std::int64_t low = std::max<std::int64_t>(0, top - kBlock + 1);
    buffer.resize(static_cast<std::size_t>(top - low + 4));
    file.Seek(low, SeekOrigin::Begin);
    file.ReadExact(buffer.data(), buffer.size());
    for (std::int64_t at = top; at >= low; --at) {
      if (GetU32(buffer.data() + (at - low)) == kZip64LocatorSignature) return at;
    }
    top = low - 1;
  }
  return -1;
}

}  // namespace

TZipArchive::TZipArchive(const std::string& FileName, std::uint16_t Mode)
    : TArchive(std::make_unique<platform::TFileStream>(FileName, FileModeOf(Mode)), nullptr,
               FileName, Mode) {
  FStream = FOwnedStream.get();
}

TZipArchive::TZipArchive(platform::TStream& aStream, const std::string& ArchiveName)
    : TArchive(nullptr, &aStream, ArchiveName, fmOpenRead | fmShareDenyNone) {}

TZipArchive::~TZipArchive() = default;

std::int64_t TZipArchive::LocateEndRecord(platform::TStream& Stream) {
  constexpr std::int64_t kRecord = TZipDirectoryFileFooter::kSize;
  const std::int64_t remembered = Stream.Position();
  const std::int64_t size = Stream.Size();

  if (size >= kRecord) {
    std::uint8_t b[kRecord];
    const std::int64_t at = Stream.Seek(-kRecord, SeekOrigin::End);
    Stream.ReadExact(b, sizeof b);
    if (GetU32(b) == TZipDirectoryFileFooter::kSignature && GetU16(b + 20) == 0) {
      return Stream.Seek(at, SeekOrigin::Begin);
    }
  }

  // Backward search in growing windows that overlap by one record, down to the first byte.
  std::int64_t window = 512;
  std::int64_t windowOffset = -512;
  std::vector<std::uint8_t> buffer;
  bool startReached = false;
  while (!startReached) {
    std::int64_t windowPos = size + windowOffset;
    if (windowPos <= 0) {
      windowPos = 0;
      startReached = true;
    }
    Stream.Seek(windowPos, SeekOrigin::Begin);
    buffer.resize(static_cast<std::size_t>(window));
    const std::size_t got = ReadAvailable(Stream, buffer.data(), buffer.size());
    if (got < kRecord) return -1;
    for (std::int64_t place = static_cast<std::int64_t>(got) - kRecord; place >= 0; --place) {
      const std::uint8_t* p = buffer.data() + place;
      if (GetU32(p) != TZipDirectoryFileFooter::kSignature) continue;
      // Room behind the record up to the end of the file: the comment must fit into it.
      const std::int64_t room = size - (windowPos + place) - kRecord;
      // A signature whose comment cannot fit is stray data; the search goes on below it.
      if (GetU16(p + 20) <= room) return Stream.Seek(windowPos + place, SeekOrigin::Begin);
    }
    window = std::min<std::int64_t>(window * 2, 65536);
    windowOffset -= window - kRecord;
  }
  Stream.Seek(remembered, SeekOrigin::Begin);
  return -1;
}

void TZipArchive::ReadZip64EndRecord(platform::TStream& stream) {
  std::uint8_t b[kZip64EndSize];
  if (ReadAvailable(stream, b, sizeof b) < sizeof b || GetU32(b) != kZip64EndSignature) {
    throw EZipInvalid();
  }
  if (FInfo.FDiskNumber == 0xFFFF) FInfo.FDiskNumber = GetU32(b + 16);
  if (FInfo.FStartDiskNumber == 0xFFFF) FInfo.FStartDiskNumber = GetU32(b + 20);
  if (FInfo.FEntriesOnDisk == 0xFFFF) FInfo.FEntriesOnDisk = static_cast<std::int64_t>(GetU64(b + 24));
  if (FInfo.FTotalEntries == 0xFFFF) FInfo.FTotalEntries = static_cast<std::int64_t>(GetU64(b + 32));
  if (FInfo.FDirectorySize == 0xFFFFFFFF) FInfo.FDirectorySize = static_cast<std::int64_t>(GetU64(b + 40));
  if (FInfo.FDirectoryOffset == 0xFFFFFFFF) FInfo.FDirectoryOffset = static_cast<std::int64_t>(GetU64(b + 48));
}

void TZipArchive::LoadDirectory() {
  platform::TStream& file = *FStream;
  if (file.Size() == 0) return;

  const std::int64_t endRecord = LocateEndRecord(file);
  if (endRecord < 0) {
    FStatus = TArchiveStatus::asInvalid;
    throw EZipInvalid();
  }
  FInfo = TZipDirectoryFileFooter();
  FInfo.LoadFromStream(file);

  std::uint32_t zip64Disk = 0;
  std::int64_t zip64Position = 0;
  const bool zip64 = FInfo.IsZip64();
  if (zip64) {
    std::uint8_t b[kLocatorSize];
    const std::int64_t at = FindZip64Locator(file, endRecord);
    if (at < 0) throw EZipInvalid();
    file.Seek(at, SeekOrigin::Begin);
    file.ReadExact(b, sizeof b);
    zip64Disk = GetU32(b + 4);
    zip64Position = static_cast<std::int64_t>(GetU64(b + 8));
    FInfo.FDiskNumber = GetU32(b + 16) - 1;
  }
  FSpanned = FInfo.FDiskNumber > 0;

  if (!FSpanned) {
    if (zip64) {
      file.Seek(zip64Position, SeekOrigin::Begin);
      ReadZip64EndRecord(file);
    }
    file.Seek(FInfo.FDirectoryOffset, SeekOrigin::Begin);
  } else {
    if (!FOwnsStream) throw EZipBadSpanStream();
    FSpanStream = std::make_unique<TSpanReadStream>(
        FArchiveName, FInfo.FDiskNumber,
        [this](int image, std::string& name, bool& abort) {
          if (OnRequestImage) OnRequestImage(*this, image, name, abort);
        });
    FStream = FSpanStream.get();
    if (zip64) {
      FSpanStream->GoTo(zip64Disk, zip64Position);
      ReadZip64EndRecord(*FSpanStream);
    }
    FSpanStream->GoTo(FInfo.FStartDiskNumber, FInfo.FDirectoryOffset);
  }

  for (std::int64_t read = 0; read < FInfo.FTotalEntries;) {
    auto item = std::make_unique<TZipItem>();
    item->LoadFromStream(*FStream);
    FItemList.Add(std::move(item));
    ++read;
    bool abort = false;
    if (OnArchiveProgress) OnArchiveProgress(*this, static_cast<std::uint8_t>(read * 100 / FInfo.FTotalEntries), abort);
    if (abort) {
      FStatus = TArchiveStatus::asInvalid;
      throw EUserAbort();
    }
  }
  bool ignored = false;
  if (OnArchiveProgress) OnArchiveProgress(*this, 100, ignored);
  FIsDirty = false;
}

void TZipArchive::SeekToEntry(std::uint32_t diskNumber, std::int64_t offset) {
  if (FSpanStream) FSpanStream->GoTo(diskNumber, offset);
  else FStream->Seek(offset, SeekOrigin::Begin);
}

void TZipArchive::ExtractItem(TArchiveItem& item, const std::string& useName) {
  if (!ExtractHelper) throw EZipNoExtraction();
  ExtractHelper(*this, item, useName);
}

}  // namespace pavona::package
