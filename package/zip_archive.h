// A ZIP archive read from a file or stream: its directory (Load) and the extraction of its
// entries (ExtractFiles). The archive may start anywhere in the file, for instance behind the
// player program; every offset it stores counts from the first byte of the file.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "package/archive_list.h"
#include "package/entry_streams.h"
#include "package/zip_headers.h"
#include "platform/stream.h"

namespace pavona::package {

class TArchive;
class TSpanReadStream;

enum class TArchiveStatus { asInvalid, asIdle, asBusy };
enum class TProcessType { ptAdd, ptDelete, ptExtract, ptFreshen, ptMove, ptReplace,
                          ptFoundUnhandled };
enum class TErrorClass { ecArchive, ecInOutError, ecFilerError, ecFileCreateError,
                         ecFileOpenError, ecCabError, ecOther };

// Set bits of TArchive::ExtractOptions.
inline constexpr unsigned eoCreateDirs = 0x1;   // create missing folders; lets directories through
inline constexpr unsigned eoRestorePath = 0x2;  // keep the folder part of entry names

// Open modes of the file-name constructor: access in bits 0-1, sharing in bits 4-6.
inline constexpr std::uint16_t fmOpenRead = 0x0000;
inline constexpr std::uint16_t fmShareDenyNone = 0x0040;

using TNotifyEvent = std::function<void(TArchive& Sender)>;
using TArchiveProgressEvent = std::function<void(TArchive& Sender, std::uint8_t Progress,
                                                 bool& Abort)>;
using TArchiveItemProgressEvent = std::function<void(TArchive& Sender, TArchiveItem* Item,
                                                     std::uint8_t Progress, bool& Abort)>;
using TProcessItemFailureEvent = std::function<void(TArchive& Sender, TArchiveItem& Item,
                                                    TProcessType ProcessType,
                                                    TErrorClass ErrorClass, int ErrorCode)>;
using TConfirmProcessItemEvent = std::function<void(TArchive& Sender, TArchiveItem& Item,
                                                    TProcessType ProcessType, bool& Confirm)>;
using TConfirmOverwriteEvent = std::function<void(std::string& Name, bool& Confirm)>;
// The per-entry extraction: write Item to the file NewName.
using TArchiveItemExtractEvent = std::function<void(TArchive& Sender, TArchiveItem& Item,
                                                    const std::string& NewName)>;
using TNeedPasswordEvent = std::function<void(TArchive& Sender, std::string& NewPassword)>;
using TRequestImageEvent = std::function<void(TArchive& Sender, int ImageNumber,
                                              std::string& ImageName, bool& Abort)>;

// The format-independent archive: entries, base folder, masks and the extraction loop.
class TArchive {
 public:
  virtual ~TArchive();
  TArchive(const TArchive&) = delete;
  TArchive& operator=(const TArchive&) = delete;

  // Reads the directory; OnLoad fires afterwards, also when loading failed.
  void Load();

  void ExtractFiles(const std::string& FileMask) { ExtractFilesEx(FileMask, std::string()); }
  void ExtractFilesEx(const std::string& FileMask, const std::string& ExclusionMask);
  void ExtractAt(int Index, const std::string& NewName);
  void Extract(TArchiveItem& aItem, const std::string& NewName);
  int FindFile(const std::string& Name) const { return FItemList.Find(Name); }

  const std::string& BaseDirectory() const { return FBaseDirectory; }
  // Drops one trailing separator (not from the root); raises ENoSuchDirectory when a non-empty
  // value names no folder and EUnsafeDirectory when it names a symbolic link.
  void SetBaseDirectory(const std::string& value);

  int Count() const { return FItemList.Count(); }
  TArchiveItem& Items(int Index) const { return FItemList.Items(Index); }
  const TArchiveList& ItemList() const { return FItemList; }
  const std::string& ArchiveName() const { return FArchiveName; }
  std::uint16_t Mode() const { return FMode; }
  TArchiveStatus Status() const { return FStatus; }
  void SetStatus(TArchiveStatus status) { FStatus = status; }
  bool Spanned() const { return FSpanned; }
  bool IsDirty() const { return FIsDirty; }
  TArchiveItem* CurrentItem() const { return FCurrentItem; }
  platform::TStream& Stream() const { return *FStream; }

  unsigned ExtractOptions = 0;
  TNotifyEvent OnLoad;
  TArchiveProgressEvent OnArchiveProgress;
  TProcessItemFailureEvent OnProcessItemFailure;
  TConfirmProcessItemEvent OnConfirmProcessItem;
  TConfirmOverwriteEvent OnConfirmOverwrite;
  TArchiveItemProgressEvent OnArchiveItemProgress;
  // Bound at construction to a relay that names the current item to OnArchiveItemProgress.
  TProgressEvent OnProgress;

 protected:
  TArchive(std::unique_ptr<platform::TStream> ownedStream, platform::TStream* stream,
           const std::string& archiveName, std::uint16_t mode);

  virtual void LoadDirectory() = 0;
  virtual void ExtractItem(TArchiveItem& item, const std::string& useName) = 0;

  // Whether to extract the item, and to which path.
  bool ResolveTargetPath(TArchiveItem& item, const std::string& newName, std::string& useName);
  // Walks up the progress of the extraction loop; Abort raises EUserAbort.
  void ReportProgress(std::int64_t done, std::int64_t count);

  std::unique_ptr<platform::TStream> FOwnedStream;  // set when the archive opened the file
  platform::TStream* FStream;
  bool FOwnsStream;
  std::string FArchiveName;
  std::uint16_t FMode;
  TArchiveStatus FStatus = TArchiveStatus::asIdle;
  std::string FBaseDirectory;
  TArchiveList FItemList;
  bool FSpanned = false;
  bool FIsDirty = false;
  TArchiveItem* FCurrentItem = nullptr;
};

class TZipArchive final : public TArchive {
 public:
  // Opens FileName with the open-mode word Mode (the viewer passes 0x0040).
  TZipArchive(const std::string& FileName, std::uint16_t Mode);
  // Reads an already open stream, which the archive does not own.
  TZipArchive(platform::TStream& aStream, const std::string& ArchiveName);
  ~TZipArchive() override;

  TZipItem& Items(int Index) const { return static_cast<TZipItem&>(TArchive::Items(Index)); }
  const TZipDirectoryFileFooter& Info() const { return FInfo; }

  // Moves the archive stream to a local header: a part of a multi-part set, then an offset.
  void SeekToEntry(std::uint32_t diskNumber, std::int64_t offset);

  std::string Password;
  std::uint8_t PasswordRetries = 3;
  TNeedPasswordEvent OnNeedPassword;
  TRequestImageEvent OnRequestImage;
  TArchiveItemExtractEvent ExtractHelper;

  // The end record's position found by searching backward from the end, or -1. On success the
  // stream stands at that position.
  static std::int64_t LocateEndRecord(platform::TStream& Stream);

 protected:
  void LoadDirectory() override;
  void ExtractItem(TArchiveItem& item, const std::string& useName) override;

 private:
  // Reads the Zip64 end record at the stream's position into the footer's sentinel fields.
  void ReadZip64EndRecord(platform::TStream& stream);

  TZipDirectoryFileFooter FInfo;
  std::unique_ptr<TSpanReadStream> FSpanStream;
};

}  // namespace pavona::package
