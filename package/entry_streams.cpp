#include "package/entry_streams.h"

#include <algorithm>

#include "package/archive_error.h"
#include "package/crc32.h"

namespace pavona::package {

using platform::SeekOrigin;

TUnzipSubsetStream::TUnzipSubsetStream(platform::TStream& stream, std::int64_t length)
    : FStream(stream), FStartPos(stream.Position()), FCurPos(FStartPos),
      FEndPos(FStartPos + length) {}

std::size_t TUnzipSubsetStream::Read(void* buffer, std::size_t count) {
  if (FCurPos >= FEndPos) return 0;
  if (!FInSync) {
    FStream.Seek(FCurPos, SeekOrigin::Begin);
    FInSync = true;
  }
  const auto room = static_cast<std::uint64_t>(FEndPos - FCurPos);
  const std::size_t n = FStream.Read(buffer, static_cast<std::size_t>(std::min<std::uint64_t>(count, room)));
  FCurPos += static_cast<std::int64_t>(n);
  return n;
}

void TUnzipSubsetStream::Write(const void*, std::size_t) {
  throw platform::EStreamError("TUnzipSubsetStream.Write not supported");
}

std::int64_t TUnzipSubsetStream::Seek(std::int64_t offset, SeekOrigin origin) {
  std::int64_t target = offset;
  if (origin == SeekOrigin::Begin) target = FStartPos + offset;
  if (origin == SeekOrigin::Current) target = FCurPos + offset;
  if (origin == SeekOrigin::End) target = FEndPos + offset;
  target = std::clamp(target, FStartPos, FEndPos);
  if (target != FCurPos) {
    FCurPos = target;
    FInSync = false;
  }
  return FCurPos - FStartPos;
}

TZipDecryptEngine::TZipDecryptEngine(const std::string& passphrase)
    : FKeys{0x12345678, 0x23456789, 0x34567890} {
  for (const char c : passphrase) UpdateKeys(static_cast<std::uint8_t>(c));
}

void TZipDecryptEngine::UpdateKeys(std::uint8_t c) {
  const std::uint32_t* table = Crc32Table();
  FKeys[0] = table[(FKeys[0] ^ c) & 0xFF] ^ (FKeys[0] >> 8);
  FKeys[1] = (FKeys[1] + (FKeys[0] & 0xFF)) * 134775813u + 1;
  FKeys[2] = table[(FKeys[2] ^ (FKeys[1] >> 24)) & 0xFF] ^ (FKeys[2] >> 8);
}

std::uint8_t TZipDecryptEngine::DecryptByte(std::uint8_t c) {
  const std::uint32_t temp = (FKeys[2] | 2) & 0xFFFF;
  const auto plain = static_cast<std::uint8_t>(c ^ ((temp * (temp ^ 1)) >> 8));
  UpdateKeys(plain);
  return plain;
}

void TZipDecryptEngine::Decrypt(std::uint8_t* data, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) data[i] = DecryptByte(data[i]);
}

TDfDecryptStream::TDfDecryptStream(std::unique_ptr<platform::TStream> stream,
                                   const std::string& passphrase, std::uint32_t checkValue)
    : FCheckValue(checkValue), FEngine(passphrase), FStream(std::move(stream)) {}

bool TDfDecryptStream::IsValid() {
  std::uint8_t header[12];
  FStream->ReadExact(header, sizeof header);
  FEngine.Decrypt(header, sizeof header);
  FReady = header[11] == static_cast<std::uint8_t>(FCheckValue >> 24);
  if (!FReady) FStream->Seek(-12, SeekOrigin::Current);
  return FReady;
}

std::size_t TDfDecryptStream::Read(void* buffer, std::size_t count) {
  const std::size_t n = FStream->Read(buffer, count);
  FEngine.Decrypt(static_cast<std::uint8_t*>(buffer), n);
  return n;
}

void TDfDecryptStream::Write(const void*, std::size_t) {
  throw platform::EStreamError("TDfDecryptStream.Write not supported");
}

std::int64_t TDfDecryptStream::Seek(std::int64_t offset, SeekOrigin origin) {
  return FStream->Seek(offset, origin);
}

TUnzipOutputStream::TUnzipOutputStream(platform::TStream& stream, std::int64_t uncompressedSize,
                                       TProgressEvent onProgress)
    : FStream(stream), FUncompressedSize(uncompressedSize), FOnProgress(std::move(onProgress)) {}

std::size_t TUnzipOutputStream::Read(void*, std::size_t) {
  throw platform::EStreamError("TUnzipOutputStream.Read not supported");
}

void TUnzipOutputStream::Write(const void* buffer, std::size_t count) {
  FCRC32 = UpdateCrc32(FCRC32, buffer, count);
  FStream.Write(buffer, count);
  FBytesWritten += static_cast<std::int64_t>(count);
  if (!FOnProgress) return;
  std::uint8_t progress = 0;
  if (FUncompressedSize <= 0) progress = 0;
  else if (FBytesWritten >= FUncompressedSize) progress = 100;
  else progress = static_cast<std::uint8_t>(FBytesWritten * 100 / FUncompressedSize);
  if (progress != FCurrentProgress) {
    bool abort = false;
    FOnProgress(progress, abort);
    FCurrentProgress = progress;
    if (abort) throw EUserAbort();
  }
}

std::int64_t TUnzipOutputStream::Seek(std::int64_t offset, SeekOrigin origin) {
  return FStream.Seek(offset, origin);
}

}  // namespace pavona::package
