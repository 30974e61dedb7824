#include "package/entry_decoder.h"

#include <algorithm>
#include <vector>

#include "package/archive_error.h"
#include "package/entry_streams.h"
#include "package/zip_methods.h"

namespace pavona::package {

namespace {

constexpr std::size_t kCopyPiece = 61440;

// The user may be asked for a new password; an empty answer means "stop".
void AskForPassword(TZipArchive& archive, bool& abort) {
  if (!archive.OnNeedPassword) return;
  std::string answer = archive.Password;
  archive.OnNeedPassword(archive, answer);
  if (answer.empty()) abort = true;
  else archive.Password = answer;
}

}  // namespace

bool IsSupportedMethod(std::uint16_t method) {
  const TZipMethod* row = FindZipMethod(method);
  return row != nullptr && row->Decode != nullptr;
}

std::unique_ptr<platform::TStream> OpenEntryData(TZipArchive& archive, TZipItem& item) {
  if ((item.VersionNeededToExtract() & 0xFF) > 63) throw EZipVersion();
  if (item.FRelativeOffset < 0 || item.FCompressedSize < 0 || item.FUncompressedSize < 0) {
    throw EZipInvalid();
  }
  archive.SeekToEntry(item.FDiskNumberStart, item.FRelativeOffset);
  TZipLocalFileHeader local;
  local.LoadFromStream(archive.Stream());
  const std::uint32_t checkValue = (local.FGeneralPurposeBitFlag & 0x08)
                                       ? std::uint32_t{local.FLastModFileTime} << 16
                                       : item.FCRC32;
  auto subset = std::make_unique<TUnzipSubsetStream>(archive.Stream(), item.FCompressedSize);
  if (!item.FItemInfo.IsEncrypted()) return subset;

  int tries = 0;
  bool abort = false;
  if (archive.Password.empty()) {
    AskForPassword(archive, abort);
    ++tries;
    if (archive.Password.empty()) throw EZipInvalidPassword();
  }
  std::unique_ptr<platform::TStream> inner = std::move(subset);
  for (;;) {
    if (abort) throw EUserAbort();
    auto decrypt = std::make_unique<TDfDecryptStream>(std::move(inner), archive.Password, checkValue);
    if (decrypt->IsValid()) return decrypt;
    inner = decrypt->Release();
    if (++tries > archive.PasswordRetries) throw EZipInvalidPassword();
    AskForPassword(archive, abort);
  }
}

void DecodeEntry(TZipArchive& archive, TZipItem& item, platform::TStream& input,
                 platform::TStream& output) {
  const std::int64_t size = item.FUncompressedSize;
  if (size == 0) return;
  TUnzipOutputStream sink(output, size, archive.OnProgress);
  const TZipMethod* method = FindZipMethod(item.CompressionMethod());
  if (method == nullptr || method->Decode == nullptr) throw EZipInvalidMethod();
  method->Decode(item, input, sink);
  if (sink.CRC32() == item.FCRC32) return;
  if (!archive.OnProcessItemFailure) throw EZipBadCRC();
  archive.OnProcessItemFailure(archive, item, TProcessType::ptExtract, TErrorClass::ecArchive,
                               EZipBadCRC().ErrorCode);
}

void DecodeStored(platform::TStream& input, platform::TStream& sink, std::int64_t size) {
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::min<std::int64_t>(size, kCopyPiece)));
  while (size > 0) {
    const auto piece = static_cast<std::size_t>(std::min<std::int64_t>(size, kCopyPiece));
    input.ReadExact(buffer.data(), piece);
    sink.Write(buffer.data(), piece);
    size -= static_cast<std::int64_t>(piece);
  }
}

}  // namespace pavona::package
