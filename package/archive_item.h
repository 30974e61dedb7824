// One entry of an archive: the format-neutral part (TArchiveItem) and the ZIP entry (TZipItem).
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "package/zip_headers.h"

namespace pavona::package {

enum class TArchiveAction { aaFailed, aaNone, aaAdd, aaDelete, aaFreshen, aaMove, aaReplace,
                            aaStreamAdd };

// MS-DOS attribute bits; only these carry meaning.
inline constexpr std::uint32_t kAttrReadOnly = 0x01;
inline constexpr std::uint32_t kAttrHidden = 0x02;
inline constexpr std::uint32_t kAttrSystem = 0x04;
inline constexpr std::uint32_t kAttrDirectory = 0x10;
inline constexpr std::uint32_t kAttrArchive = 0x20;

class TArchiveItem {
 public:
  virtual ~TArchiveItem() = default;

  virtual bool IsDirectory() const = 0;
  virtual std::uint32_t NativeFileAttributes() const = 0;
  // The stored MS-DOS date and time as local time; EConvertError when they name no valid moment.
  std::time_t LastModTimeAsDateTime() const;

  bool MatchesStoredName(const std::string& FileMask) const;
  bool MatchesStoredNameEx(const std::string& FileMask) const;

  int NextItem = -1;  // index of the next item in the same hash bucket
  TArchiveAction FAction = TArchiveAction::aaNone;
  std::int64_t FCompressedSize = 0;
  std::uint32_t FCRC32 = 0;
  std::string FDiskFileName;  // the name with "\" separators
  std::uint32_t FExternalFileAttributes = 0;
  std::string FFileName;  // decoded, UTF-8
  bool FIsEncrypted = false;
  std::uint16_t FLastModFileTime = 0;
  std::uint16_t FLastModFileDate = 0;
  bool FTagged = false;
  std::int64_t FUncompressedSize = 0;
};

class TZipItem : public TArchiveItem {
 public:
  // Reads one central directory entry and fills the item from it.
  void LoadFromStream(platform::TStream& stream);

  bool IsDirectory() const override;
  std::uint32_t NativeFileAttributes() const override;

  std::uint16_t CompressionMethod() const { return FItemInfo.FCompressionMethod; }
  std::uint16_t VersionMadeBy() const { return FItemInfo.FVersionMadeBy; }
  std::uint16_t VersionNeededToExtract() const { return FItemInfo.FVersionNeededToExtract; }
  std::uint16_t GeneralPurposeBitFlag() const { return FItemInfo.FGeneralPurposeBitFlag; }
  const std::string& RawFileName() const { return FItemInfo.FFileName; }

  TZipDirectoryFileHeader FItemInfo;
  std::uint32_t FDiskNumberStart = 0;
  std::int64_t FRelativeOffset = 0;
};

// MS-DOS file attributes for a Unix mode (file type plus owner-write bit).
std::uint32_t UnixModeToAttributes(std::uint32_t mode);

// The combined MS-DOS date (high 16 bits) and time (low 16 bits) as local time.
std::time_t DosDateTimeToTime(std::uint32_t dosDateTime);

}  // namespace pavona::package
