#include "package/zip_archive.h"

#include <vector>

#include "package/archive_error.h"
#include "platform/files.h"

namespace pavona::package {

namespace {

// The error class and code that OnProcessItemFailure receives for an exception.
void Classify(std::exception_ptr error, TErrorClass& errorClass, int& code) {
  code = 0;
  try {
    std::rethrow_exception(error);
  } catch (const EArchiveException& e) {
    errorClass = TErrorClass::ecArchive;
    code = e.ErrorCode;
  } catch (const platform::EStreamError& e) {
    switch (e.Failure()) {
      case platform::TStreamFailure::Create: errorClass = TErrorClass::ecFileCreateError; break;
      case platform::TStreamFailure::Open: errorClass = TErrorClass::ecFileOpenError; break;
      case platform::TStreamFailure::Read:
      case platform::TStreamFailure::Write:
      case platform::TStreamFailure::Seek: errorClass = TErrorClass::ecFilerError; break;
      case platform::TStreamFailure::Other: errorClass = TErrorClass::ecInOutError; break;
    }
  } catch (...) {
    errorClass = TErrorClass::ecOther;
  }
}

// The parts of an entry name below the extraction folder: separators "/", "\" and ":", with
// empty, "." and ".." parts dropped so that no name climbs out of the folder.
std::vector<std::string> ConfinedParts(const std::string& name) {
  std::vector<std::string> parts;
  std::size_t start = name.size() >= 2 && name[1] == ':' ? 2 : 0;  // a drive is no folder
  while (start <= name.size()) {
    std::size_t end = name.find_first_of("/\\:", start);
    if (end == std::string::npos) end = name.size();
    std::string part = name.substr(start, end - start);
    if (!part.empty() && part != "." && part != "..") parts.push_back(std::move(part));
    start = end + 1;
  }
  return parts;
}

std::string LastComponent(const std::string& name) {
  const std::size_t at = name.find_last_of("/\\:");
  return at == std::string::npos ? name : name.substr(at + 1);
}

}  // namespace

TArchive::TArchive(std::unique_ptr<platform::TStream> ownedStream, platform::TStream* stream,
                   const std::string& archiveName, std::uint16_t mode)
    : FOwnedStream(std::move(ownedStream)), FStream(stream), FOwnsStream(FOwnedStream != nullptr),
      FArchiveName(archiveName), FMode(mode) {
  OnProgress = [this](std::uint8_t progress, bool& abort) {
    abort = false;
    if (OnArchiveItemProgress) OnArchiveItemProgress(*this, FCurrentItem, progress, abort);
  };
  SetBaseDirectory(platform::FolderOf(platform::ExecutablePath()));
}

TArchive::~TArchive() = default;

void TArchive::SetBaseDirectory(const std::string& value) {
  std::string folder = value;
  if (folder.size() > 1 && folder.back() == platform::PathSeparator()) folder.pop_back();
  if (!folder.empty()) {
    if (platform::IsSymbolicLink(folder)) throw EUnsafeDirectory();
    if (!platform::IsDirectory(folder)) throw ENoSuchDirectory();
  }
  FBaseDirectory = folder;
}

void TArchive::Load() {
  try {
    LoadDirectory();
    FStatus = TArchiveStatus::asIdle;
  } catch (...) {
    if (OnLoad) OnLoad(*this);
    throw;
  }
  if (OnLoad) OnLoad(*this);
}

void TArchive::ReportProgress(std::int64_t done, std::int64_t count) {
  std::uint8_t progress = 0;
  if (count <= 0) progress = 0;
  else if (done >= count) progress = 100;
  else progress = static_cast<std::uint8_t>(done * 100 / count);
  bool abort = false;
  if (OnArchiveProgress) OnArchiveProgress(*this, progress, abort);
  if (abort) throw EUserAbort();
}

void TArchive::ExtractFilesEx(const std::string& FileMask, const std::string& ExclusionMask) {
  if (FStatus == TArchiveStatus::asInvalid) throw ENoArchive();
  const int count = Count();
  if (count == 0) return;
  for (int i = 0; i < count; ++i) {
    TArchiveItem& item = Items(i);
    if (item.MatchesStoredNameEx(FileMask) && !item.MatchesStoredNameEx(ExclusionMask) &&
        ((ExtractOptions & eoCreateDirs) || !item.IsDirectory())) {
      ExtractAt(i, std::string());
    }
    ReportProgress(i + 1, count);
  }
  bool abort = false;
  if (OnArchiveProgress) OnArchiveProgress(*this, 100, abort);
}

void TArchive::Extract(TArchiveItem& aItem, const std::string& NewName) {
  for (int i = 0; i < Count(); ++i) {
    if (&Items(i) == &aItem) {
      ExtractAt(i, NewName);
      return;
    }
  }
}

void TArchive::ExtractAt(int Index, const std::string& NewName) {
  if (FStatus == TArchiveStatus::asInvalid) throw ENoArchive();
  TArchiveItem& item = Items(Index);
  bool confirm = true;
  if (OnConfirmProcessItem) OnConfirmProcessItem(*this, item, TProcessType::ptExtract, confirm);
  if (!confirm) return;
  std::string useName;
  if (!ResolveTargetPath(item, NewName, useName)) return;
  FCurrentItem = &item;
  try {
    ExtractItem(item, useName);
  } catch (...) {
    TErrorClass errorClass = TErrorClass::ecOther;
    int code = 0;
    Classify(std::current_exception(), errorClass, code);
    if (OnProcessItemFailure) {
      OnProcessItemFailure(*this, item, TProcessType::ptExtract, errorClass, code);
    }
  }
  FCurrentItem = nullptr;
}

bool TArchive::ResolveTargetPath(TArchiveItem& item, const std::string& newName,
                                 std::string& useName) {
  const bool directory = item.IsDirectory();
  const bool createDirs = (ExtractOptions & eoCreateDirs) != 0;
  const bool restorePath = (ExtractOptions & eoRestorePath) != 0;
  if (directory && !(createDirs && restorePath)) return false;

  if (!newName.empty()) {
    const bool absolute = newName.front() == platform::PathSeparator();
    useName = absolute ? newName : platform::JoinPath(FBaseDirectory, newName);
    const std::string folder = platform::FolderOf(useName);
    if (!folder.empty() && !platform::IsDirectory(folder)) {
      if (!createDirs) throw ENoSuchDirectory();
      if (!platform::CreateDirectories(folder)) throw platform::EStreamError("Cannot create folder \"" + folder + "\"");
    }
  } else if (restorePath) {
    // The folders below the base folder are made one by one, refusing any that is a link.
    std::string path = FBaseDirectory;
    const std::vector<std::string> parts = ConfinedParts(item.FFileName);
    if (parts.empty()) return false;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
      path = platform::JoinPath(path, parts[i]);
      if (platform::IsSymbolicLink(path)) throw EUnsafeDirectory();
      if (platform::IsDirectory(path)) continue;
      if (!createDirs) throw ENoSuchDirectory();
      if (!platform::CreateDirectories(path)) throw platform::EStreamError("Cannot create folder \"" + path + "\"");
    }
    useName = platform::JoinPath(path, parts.back());
  } else {
    useName = platform::JoinPath(FBaseDirectory, LastComponent(item.FFileName));
    if (!FBaseDirectory.empty() && !platform::IsDirectory(FBaseDirectory)) {
      if (!createDirs) throw ENoSuchDirectory();
      if (!platform::CreateDirectories(FBaseDirectory)) throw platform::EStreamError("Cannot create folder \"" + FBaseDirectory + "\"");
    }
  }

  bool proceed = true;
  if (!directory && platform::PathExists(useName) && OnConfirmOverwrite) {
    OnConfirmOverwrite(useName, proceed);
  }
  return proceed;
}

}  // namespace pavona::package
