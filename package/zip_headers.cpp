#include "package/zip_headers.h"

#include <vector>

#include "package/archive_error.h"
#include "package/little_endian.h"

namespace pavona::package {

std::size_t ReadAvailable(platform::TStream& stream, void* buffer, std::size_t count) {
  auto* out = static_cast<std::uint8_t*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    const std::size_t got = stream.Read(out + done, count - done);
    if (got == 0) break;
    done += got;
  }
  return done;
}

namespace {

// Name and comment are taken as far as the stream reaches; only the extra field must be whole.
std::string ReadText(platform::TStream& stream, std::size_t count) {
  std::string text(count, '\0');
  text.resize(ReadAvailable(stream, text.data(), count));
  return text;
}

TExtraField ReadExtra(platform::TStream& stream, std::size_t count) {
  std::vector<std::uint8_t> bytes(count);
  if (count > 0) stream.ReadExact(bytes.data(), count);
  return TExtraField(std::move(bytes));
}

}  // namespace

TZipDictionarySize TZipFileHeader::DictionarySize() const {
  if (FCompressionMethod != zip_method::kImploded) return TZipDictionarySize::dsInvalid;
  return (FGeneralPurposeBitFlag & 0x02) ? TZipDictionarySize::ds8K : TZipDictionarySize::ds4K;
}

int TZipFileHeader::ShannonFanoTreeCount() const {
  if (FCompressionMethod != zip_method::kImploded) return 0;
  return (FGeneralPurposeBitFlag & 0x04) ? 3 : 2;
}

TZipDeflationOption TZipFileHeader::DeflationOption() const {
  if (FCompressionMethod != zip_method::kDeflated) return TZipDeflationOption::doInvalid;
  switch ((FGeneralPurposeBitFlag >> 1) & 3) {
    case 0: return TZipDeflationOption::doNormal;
    case 1: return TZipDeflationOption::doMaximum;
    case 2: return TZipDeflationOption::doFast;
    default: return TZipDeflationOption::doSuperFast;
  }
}

void TZipLocalFileHeader::LoadFromStream(platform::TStream& stream) {
  std::uint8_t b[30];
  const std::size_t got = ReadAvailable(stream, b, sizeof b);
  if (got < sizeof b) {
    if (got >= 4) FSignature = GetU32(b);
    throw EZipInvalid();
  }
  FSignature = GetU32(b);
  FVersionNeededToExtract = GetU16(b + 4);
  FGeneralPurposeBitFlag = GetU16(b + 6);
  FCompressionMethod = GetU16(b + 8);
  FLastModFileTime = GetU16(b + 10);
  FLastModFileDate = GetU16(b + 12);
  FCRC32 = GetU32(b + 14);
  FCompressedSize = GetU32(b + 18);
  FUncompressedSize = GetU32(b + 22);
  const std::size_t nameLength = GetU16(b + 26);
  const std::size_t extraLength = GetU16(b + 28);
  if (!IsValid()) throw EZipInvalid();
  FFileName = ReadText(stream, nameLength);
  FExtraField = ReadExtra(stream, extraLength);
}

void TZipDirectoryFileHeader::LoadFromStream(platform::TStream& stream) {
  std::uint8_t b[46];
  if (ReadAvailable(stream, b, sizeof b) < sizeof b) throw EZipInvalid();
  FSignature = GetU32(b);
  FVersionMadeBy = GetU16(b + 4);
  FVersionNeededToExtract = GetU16(b + 6);
  FGeneralPurposeBitFlag = GetU16(b + 8);
  FCompressionMethod = GetU16(b + 10);
  FLastModFileTime = GetU16(b + 12);
  FLastModFileDate = GetU16(b + 14);
  FCRC32 = GetU32(b + 16);
  FCompressedSize = GetU32(b + 20);
  FUncompressedSize = GetU32(b + 24);
  const std::size_t nameLength = GetU16(b + 28);
  const std::size_t extraLength = GetU16(b + 30);
  const std::size_t commentLength = GetU16(b + 32);
  FDiskNumberStart = GetU16(b + 34);
  FInternalFileAttributes = GetU16(b + 36);
  FExternalFileAttributes = GetU32(b + 38);
  FRelativeOffset = GetU32(b + 42);
  // The signature is tested before the variable part so that a stray offset costs no large reads.
  if (!IsValid()) throw EZipInvalid();
  FFileName = ReadText(stream, nameLength);
  FExtraField = ReadExtra(stream, extraLength);
  FFileComment = ReadText(stream, commentLength);
}

bool TZipDirectoryFileFooter::IsZip64() const {
  return FDiskNumber >= 0xFFFF || FStartDiskNumber >= 0xFFFF || FEntriesOnDisk >= 0xFFFF ||
         FTotalEntries >= 0xFFFF || FDirectorySize >= 0xFFFFFFFF ||
         FDirectoryOffset >= 0xFFFFFFFF;
}

void TZipDirectoryFileFooter::LoadFromStream(platform::TStream& stream) {
  std::uint8_t b[kSize];
  stream.ReadExact(b, sizeof b);
  if (GetU32(b) != kSignature) throw EZipInvalid();
  FDiskNumber = GetU16(b + 4);
  FStartDiskNumber = GetU16(b + 6);
  FEntriesOnDisk = GetU16(b + 8);
  FTotalEntries = GetU16(b + 10);
  FDirectorySize = GetU32(b + 12);
  FDirectoryOffset = GetU32(b + 16);
  const std::size_t commentLength = GetU16(b + 20);
  FZipfileComment.assign(commentLength, '\0');
  if (commentLength > 0) stream.ReadExact(FZipfileComment.data(), commentLength);
}

}  // namespace pavona::package
