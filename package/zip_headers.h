// The ZIP entry headers (central directory entry and local header) and the decoded end record.
#pragma once

#include <cstdint>
#include <string>

#include "package/extra_field.h"
#include "package/zip_methods.h"
#include "platform/stream.h"

namespace pavona::package {

enum class TZipDictionarySize { dsInvalid, ds4K, ds8K };
enum class TZipDeflationOption { doInvalid, doNormal, doMaximum, doFast, doSuperFast };

// The fields both entry headers carry.
class TZipFileHeader {
 public:
  explicit TZipFileHeader(std::uint32_t validSignature) : FValidSignature(validSignature) {}
  virtual ~TZipFileHeader() = default;

  bool IsValid() const { return FSignature == FValidSignature; }
  bool IsEncrypted() const { return (FGeneralPurposeBitFlag & 0x0001) != 0; }
  bool IsUTF8() const { return (FGeneralPurposeBitFlag & 0x0800) != 0; }
  bool HasDataDescriptor() const {
    return FCompressionMethod == zip_method::kDeflated && (FGeneralPurposeBitFlag & 0x0008) != 0;
  }
  TZipDictionarySize DictionarySize() const;
  int ShannonFanoTreeCount() const;
  TZipDeflationOption DeflationOption() const;

  std::uint32_t FValidSignature;
  std::uint32_t FSignature = 0;
  std::uint16_t FVersionNeededToExtract = 0;
  std::uint16_t FGeneralPurposeBitFlag = 0;
  std::uint16_t FCompressionMethod = 0;
  std::uint16_t FLastModFileTime = 0;
  std::uint16_t FLastModFileDate = 0;
  std::uint32_t FCRC32 = 0;
  std::uint32_t FCompressedSize = 0;
  std::uint32_t FUncompressedSize = 0;
  std::string FFileName;  // the stored bytes
  TExtraField FExtraField;
};

class TZipLocalFileHeader : public TZipFileHeader {
 public:
  static constexpr std::uint32_t kSignature = 0x04034B50;
  TZipLocalFileHeader() : TZipFileHeader(kSignature) {}
  // Leaves the stream at the first byte of the entry data; EZipInvalid on a wrong signature.
  void LoadFromStream(platform::TStream& stream);
};

class TZipDirectoryFileHeader : public TZipFileHeader {
 public:
  static constexpr std::uint32_t kSignature = 0x02014B50;
  TZipDirectoryFileHeader() : TZipFileHeader(kSignature) {}
  // EZipInvalid on a wrong signature or a directory that ends inside the fixed part.
  void LoadFromStream(platform::TStream& stream);

  std::uint8_t HostSystem() const { return static_cast<std::uint8_t>(FVersionMadeBy >> 8); }

  std::uint16_t FVersionMadeBy = 0;
  std::uint16_t FDiskNumberStart = 0;
  std::uint16_t FInternalFileAttributes = 0;
  std::uint32_t FExternalFileAttributes = 0;
  std::uint32_t FRelativeOffset = 0;
  std::string FFileComment;
};

// The end record as decoded, with the Zip64 values where the end record holds sentinels.
class TZipDirectoryFileFooter {
 public:
  static constexpr std::uint32_t kSignature = 0x06054B50;
  static constexpr std::size_t kSize = 22;

  bool IsZip64() const;
  // Reads the 22-byte record and its comment; EZipInvalid on a wrong signature.
  void LoadFromStream(platform::TStream& stream);

  std::uint32_t FDiskNumber = 0;
  std::uint32_t FStartDiskNumber = 0;
  std::int64_t FEntriesOnDisk = 0;
  std::int64_t FTotalEntries = 0;
  std::int64_t FDirectorySize = 0;
  std::int64_t FDirectoryOffset = 0;
  std::string FZipfileComment;
};

// Reads up to count bytes, fewer only at the end of the stream.
std::size_t ReadAvailable(platform::TStream& stream, void* buffer, std::size_t count);

}  // namespace pavona::package
