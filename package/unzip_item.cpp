#include "package/unzip_item.h"

#include <optional>

#include "package/archive_error.h"
#include "package/entry_decoder.h"
#include "platform/files.h"
#include "platform/stream.h"

namespace pavona::package {

namespace {

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return std::string();
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

[[noreturn]] void CannotCreate(const std::string& path, const char* reason) {
  throw platform::EStreamError("Cannot create file \"" + path + "\". " + reason);
}

// A temporary file beside the target, created exclusively (never through a link); removed on
// destruction unless committed.
class TPartialFile {
 public:
  explicit TPartialFile(const std::string& target) {
    const std::string folder = FolderOf(target);
    for (int attempt = 0;; ++attempt) {
      FPath = platform::JoinPath(folder, ".pavona-part-" + std::to_string(attempt));
      try {
        FStream.emplace(FPath, platform::FileMode::CreateNew);
        return;
      } catch (const platform::EStreamError& e) {
        // A name taken by a leftover is skipped; any other failure is the target's failure.
        if (attempt < 99 && platform::PathExists(FPath)) continue;
        const std::string message = e.what();
        const std::size_t reason = message.find("\". ");
        CannotCreate(target, reason == std::string::npos ? "" : message.c_str() + reason + 3);
      }
    }
  }
  ~TPartialFile() {
    if (!FCommitted) {
      FStream.reset();
      platform::RemoveFile(FPath);
    }
  }
  TPartialFile(const TPartialFile&) = delete;
  TPartialFile& operator=(const TPartialFile&) = delete;

  platform::TStream& Stream() { return *FStream; }

  void CommitAs(const std::string& target) {
    FStream.reset();
    std::string reason;
    if (!platform::RenameFile(FPath, target, &reason)) CannotCreate(target, reason.c_str());
    FCommitted = true;
  }

 private:
  std::string FPath;
  std::optional<platform::TFileStream> FStream;
  bool FCommitted = false;
};

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

  {
    TPartialFile output(UseName);
    try {
      DecodeEntry(archive, item, *input, output.Stream());
    } catch (const EUserAbort&) {
      archive.SetStatus(TArchiveStatus::asInvalid);
      throw;
    }
    output.CommitAs(UseName);
  }
  ApplyTimeAndAttributes(item, UseName);
}

}  // namespace pavona::package
