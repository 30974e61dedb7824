#include "package/archive_item.h"

#include "package/archive_error.h"
#include "package/file_mask.h"
#include "package/little_endian.h"
#include "package/name_decoding.h"

namespace pavona::package {

namespace {

constexpr std::uint16_t kZip64Id = 0x0001;

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

std::time_t DosDateTimeToTime(std::uint32_t dosDateTime) {
  const std::uint32_t date = dosDateTime >> 16;
  const std::uint32_t time = dosDateTime & 0xFFFF;
  const int year = 1980 + static_cast<int>(date >> 9);
  const int month = static_cast<int>((date >> 5) & 15);
  const int day = static_cast<int>(date & 31);
  const int hour = static_cast<int>(time >> 11);
  const int minute = static_cast<int>((time >> 5) & 63);
  const int second = static_cast<int>(time & 31) * 2;
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) {
    throw EConvertError("Invalid argument to date encode");
  }
  if (hour >= 24 || minute >= 60 || second >= 60) {
    throw EConvertError("Invalid argument to time encode");
  }
  std::tm tm{};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = hour;
  tm.tm_min = minute;
  tm.tm_sec = second;
  tm.tm_isdst = -1;
  return std::mktime(&tm);
}

std::uint32_t UnixModeToAttributes(std::uint32_t mode) {
  std::uint32_t attributes = 0;
  switch (mode & 0xF000) {
    case 0x4000: attributes = kAttrDirectory; break;
    case 0x1000:
    case 0x2000:
    case 0x6000:
    case 0xA000:
    case 0xC000: attributes = kAttrSystem; break;
    default: break;
  }
  if ((mode & 0x80) == 0) attributes |= kAttrReadOnly;
  return attributes;
}

std::time_t TArchiveItem::LastModTimeAsDateTime() const {
  return DosDateTimeToTime(std::uint32_t{FLastModFileDate} << 16 | FLastModFileTime);
}

bool TArchiveItem::MatchesStoredName(const std::string& FileMask) const {
  return package::MatchesStoredName(FFileName, IsDirectory(), FileMask);
}

bool TArchiveItem::MatchesStoredNameEx(const std::string& FileMask) const {
  return package::MatchesStoredNameEx(FFileName, IsDirectory(), FileMask);
}

void TZipItem::LoadFromStream(platform::TStream& stream) {
  FItemInfo.LoadFromStream(stream);
  const TZipDirectoryFileHeader& h = FItemInfo;
  FFileName = DecodeEntryName(h);
  FUncompressedSize = h.FUncompressedSize;
  FCompressedSize = h.FCompressedSize;
  FRelativeOffset = h.FRelativeOffset;
  FDiskNumberStart = h.FDiskNumberStart;
  if (const auto zip64 = h.FExtraField.GetStream(kZip64Id)) {
    std::uint8_t b[8];
    const auto next64 = [&] {
      zip64->ReadExact(b, 8);
      return static_cast<std::int64_t>(GetU64(b));
    };
    if (h.FUncompressedSize == 0xFFFFFFFF) FUncompressedSize = next64();
    if (h.FCompressedSize == 0xFFFFFFFF) FCompressedSize = next64();
    if (h.FRelativeOffset == 0xFFFFFFFF) FRelativeOffset = next64();
    if (h.FDiskNumberStart == 0xFFFF) {
      zip64->ReadExact(b, 4);
      FDiskNumberStart = GetU32(b);
    }
  }
  FCRC32 = h.FCRC32;
  FExternalFileAttributes = h.FExternalFileAttributes;
  FIsEncrypted = h.IsEncrypted();
  FLastModFileTime = h.FLastModFileTime;
  FLastModFileDate = h.FLastModFileDate;
  FDiskFileName = FFileName;
  for (char& c : FDiskFileName) {
    if (c == '/') c = '\\';
  }
  FAction = TArchiveAction::aaNone;
  FTagged = false;
}

bool TZipItem::IsDirectory() const {
  if (FExternalFileAttributes & kAttrDirectory) return true;
  return !FFileName.empty() && (FFileName.back() == '/' || FFileName.back() == '\\');
}

std::uint32_t TZipItem::NativeFileAttributes() const {
  if (FItemInfo.HostSystem() == 3 || FExternalFileAttributes > 0x1FFFF) {
    return UnixModeToAttributes(FExternalFileAttributes >> 16);
  }
  return FExternalFileAttributes & 0xFF;
}

}  // namespace pavona::package
