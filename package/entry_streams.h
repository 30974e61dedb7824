// The streams an entry's data passes through on its way out: a bounded view of the package
// file, the traditional PKWARE decryption, and the sink that computes the CRC-32 and reports
// progress in front of the output file.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/stream.h"

namespace pavona::package {

// Read-only view of [start, start + length) of another stream, starting at its current position.
class TUnzipSubsetStream final : public platform::TStream {
 public:
  TUnzipSubsetStream(platform::TStream& stream, std::int64_t length);

  std::size_t Read(void* buffer, std::size_t count) override;
  void Write(const void* buffer, std::size_t count) override;
  std::int64_t Seek(std::int64_t offset, platform::SeekOrigin origin) override;

 private:
  platform::TStream& FStream;
  std::int64_t FStartPos;
  std::int64_t FCurPos;
  std::int64_t FEndPos;
  bool FInSync = true;  // the underlying stream stands at FCurPos
};

// The three keys of the traditional PKWARE cipher.
class TZipDecryptEngine {
 public:
  explicit TZipDecryptEngine(const std::string& passphrase);
  std::uint8_t DecryptByte(std::uint8_t c);
  void Decrypt(std::uint8_t* data, std::size_t count);

 private:
  void UpdateKeys(std::uint8_t c);
  std::uint32_t FKeys[3];
};

class TDfDecryptStream final : public platform::TStream {
 public:
  TDfDecryptStream(std::unique_ptr<platform::TStream> stream, const std::string& passphrase,
                   std::uint32_t checkValue);

  // Decrypts the 12-byte header; true when its last byte matches the check value's high byte.
  // On failure the inner stream is moved back to where the header started.
  bool IsValid();
  // Hands the inner stream back (after a failed test).
  std::unique_ptr<platform::TStream> Release() { return std::move(FStream); }

  std::size_t Read(void* buffer, std::size_t count) override;
  void Write(const void* buffer, std::size_t count) override;
  std::int64_t Seek(std::int64_t offset, platform::SeekOrigin origin) override;

 private:
  std::uint32_t FCheckValue;
  TZipDecryptEngine FEngine;
  bool FReady = false;
  std::unique_ptr<platform::TStream> FStream;
};

// Progress in percent; setting Abort stops the extraction.
using TProgressEvent = std::function<void(std::uint8_t Progress, bool& Abort)>;

class TUnzipOutputStream final : public platform::TStream {
 public:
  TUnzipOutputStream(platform::TStream& stream, std::int64_t uncompressedSize,
                     TProgressEvent onProgress);

  std::size_t Read(void* buffer, std::size_t count) override;
  void Write(const void* buffer, std::size_t count) override;
  std::int64_t Seek(std::int64_t offset, platform::SeekOrigin origin) override;

  std::uint32_t CRC32() const { return ~FCRC32; }
  std::int64_t BytesWritten() const { return FBytesWritten; }

 private:
  std::int64_t FBytesWritten = 0;
  std::uint32_t FCRC32 = 0xFFFFFFFF;
  std::uint8_t FCurrentProgress = 0;
  platform::TStream& FStream;
  std::int64_t FUncompressedSize;
  TProgressEvent FOnProgress;
};

}  // namespace pavona::package
