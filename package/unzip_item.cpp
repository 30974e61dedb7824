#include "package/unzip_item.h"

#include <cstdint>
#include <optional>

#include "package/archive_error.h"
#include "package/entry_decoder.h"
#include "platform/files.h"
#include "platform/replacing_file.h"
#include "platform/stream.h"

namespace pavona::package {

namespace {

[[noreturn]] void CannotCreate(const std::string& path, const char* reason) {
  throw platform::EStreamError(platform::TStreamFailure::Create, path, reason);
}

void ApplyTimeAndAttributes(TZipItem& item, const std::string& path) {
  const std::time_t time = item.LastModTimeAsDateTime();
  platform::SetModificationTime(path, time);
  if (item.NativeFileAttributes() & kAttrReadOnly) platform::SetReadOnly(path, true);
}

}  // namespace

void UnzipItem(TArchive& Sender, TArchiveItem& Item, const std::string& UseName) {
  auto& archive = dynamic_cast<TZipArchive&>(Sender);
  auto& item = dynamic_cast<TZipItem&>(Item);

  if (item.IsDirectory()) {
    if (!platform::CreateDirectories(UseName)) CannotCreate(UseName, "Cannot create folder");
    ApplyTimeAndAttributes(item, UseName);
    return;
  }

  const std::string name = platform::FileNameOf(UseName);
  if (name.empty() || name == "." || name == ".." || name.find('\0') != std::string::npos) {
    CannotCreate(UseName, "Invalid file name");
  }
  std::unique_ptr<platform::TStream> input = OpenEntryData(archive, item);
  if (!IsSupportedMethod(item.CompressionMethod()) && item.FUncompressedSize != 0) {
    throw EZipInvalidMethod();
  }
  if (platform::IsReadOnly(UseName)) CannotCreate(UseName, "Permission denied");
  if (platform::IsDirectory(UseName)) CannotCreate(UseName, "Is a directory");
  // An entry that cannot fit is refused before a byte is written, so filling the disk never
  // starves the other entries nor leaves a partial file; a size that lies is caught by the
  // failing write, after which the uncommitted file is removed.
  const std::string folder = platform::FolderOf(UseName);
  const std::optional<std::uint64_t> free = platform::FreeSpace(folder.empty() ? "." : folder);
  if (free && item.FUncompressedSize > 0 &&
      static_cast<std::uint64_t>(item.FUncompressedSize) > *free) {
    CannotCreate(UseName, "Not enough free space");
  }

  {
    platform::TReplacingFile output(UseName);
    try {
      DecodeEntry(archive, item, *input, output.Stream());
    } catch (const EUserAbort&) {
      archive.SetStatus(TArchiveStatus::asInvalid);
      throw;
    }
    output.Commit();
  }
  ApplyTimeAndAttributes(item, UseName);
}

}  // namespace pavona::package
