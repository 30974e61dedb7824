// Byte streams: the one abstraction the archive reader, the settings store and the tools read
// and write through. Files come from the platform backend; memory streams are plain C++.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace pavona::platform {

enum class SeekOrigin { Begin, Current, End };

// What failed, for callers that act on the kind of failure rather than show its message.
enum class TStreamFailure { Open, Create, Read, Write, Seek, Other };

// Raised for any failure of the file layer: open, create, read, write, seek. The message is made
// from the fields: "Cannot open file \"<path>\". <reason>", "Cannot create file ...", "Stream
// read error" and so on; Other carries its message as the reason.
class EStreamError : public std::runtime_error {
 public:
  explicit EStreamError(TStreamFailure failure, std::string path = {}, std::string reason = {});
  // A failure of another kind, with its own message.
  explicit EStreamError(const std::string& message)
      : EStreamError(TStreamFailure::Other, {}, message) {}

  TStreamFailure Failure() const { return FFailure; }
  const std::string& Path() const { return FPath; }
  const std::string& Reason() const { return FReason; }

 private:
  TStreamFailure FFailure;
  std::string FPath;
  std::string FReason;
};

class TStream {
 public:
  virtual ~TStream() = default;
  // Reads up to count bytes; returns how many were read (0 at the end).
  virtual std::size_t Read(void* buffer, std::size_t count) = 0;
  // Writes all count bytes or raises EStreamError.
  virtual void Write(const void* buffer, std::size_t count) = 0;
  // Returns the new position.
  virtual std::int64_t Seek(std::int64_t offset, SeekOrigin origin) = 0;

  std::int64_t Position() { return Seek(0, SeekOrigin::Current); }
  std::int64_t Size();
  // Reads exactly count bytes or raises EStreamError.
  void ReadExact(void* buffer, std::size_t count);
};

class TMemoryStream final : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<std::uint8_t> bytes) : FBytes(std::move(bytes)) {}

  std::size_t Read(void* buffer, std::size_t count) override;
  void Write(const void* buffer, std::size_t count) override;
  std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;

  const std::vector<std::uint8_t>& Bytes() const { return FBytes; }
  std::vector<std::uint8_t> TakeBytes() { FPosition = 0; return std::move(FBytes); }

 private:
  std::vector<std::uint8_t> FBytes;
  std::size_t FPosition = 0;
};

enum class FileMode {
  Read,        // existing file, read only
  ReadWrite,   // existing file, read and write
  Create,      // created or truncated, write only; never through a symbolic link
  CreateNew,   // created; fails when the name exists (also as a link)
};

// A file of the host's file system. Move-only; closes on destruction.
class TFileStream final : public TStream {
 public:
  TFileStream(const std::string& path, FileMode mode);
  ~TFileStream() override;
  TFileStream(TFileStream&& other) noexcept;
  TFileStream& operator=(TFileStream&& other) noexcept;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  std::size_t Read(void* buffer, std::size_t count) override;
  void Write(const void* buffer, std::size_t count) override;
  std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;

  const std::string& Path() const { return FPath; }

 private:
  std::string FPath;
  // The host's handle, opaque here: the backend that opened the file knows what it holds.
  std::intptr_t FHandle;
};

}  // namespace pavona::platform
