// Test-only helpers: a byte-exact ZIP writer for hand-made archives, a temporary folder per
// test, and running the zip, 7zz and wavpack commands.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pavona::package::ziptest {

// Where the build says the `pavona` tool and the shared sample archives are ("" when it does not).
#ifdef PAVONA_TOOL
inline const std::string kTool = PAVONA_TOOL;
#else
inline const std::string kTool;
#endif
#ifdef PAVONA_SHARED_FIXTURES
inline const std::string kFixtures = PAVONA_SHARED_FIXTURES;
#else
inline const std::string kFixtures;
#endif

struct ZipEntry {
  std::string name;     // stored name bytes
  std::string content;  // the uncompressed bytes: CRC-32 and size unless overridden
  std::optional<std::string> data;  // the stored (compressed) bytes; content when not given
  std::uint16_t method = 0;
  std::uint16_t flags = 0;
  std::uint16_t versionMadeBy = 20;  // host 0 (MS-DOS)
  std::uint16_t versionNeeded = 20;
  std::uint16_t time = 0x6000;  // 12:00:00
  std::uint16_t date = 0x5A21;  // 2025-01-01
  std::optional<std::uint32_t> crc;
  std::uint32_t externalAttributes = 0;
  std::string centralExtra;
  std::string localExtra;
  bool zip64 = false;  // sizes and offset in a Zip64 extra field behind 0xFFFFFFFF sentinels
};

struct ZipLayout {
  std::string prefix;        // bytes in front of the archive (a "program")
  bool adjustOffsets = true; // offsets count from the start of the file, prefix included
  std::string comment;
  std::string trailing;      // bytes after the end record and comment
  bool zip64End = false;     // Zip64 end record and locator, sentinels in the end record
};

std::string BuildZip(const std::vector<ZipEntry>& entries, const ZipLayout& layout = {});

// Little-endian encoders for hand-made records and extra fields.
std::string U16(std::uint32_t value);
std::string U32(std::uint32_t value);
std::string U64(std::uint64_t value);
std::string ExtraField(std::uint16_t id, const std::string& data);
std::uint32_t Crc(const std::string& bytes);
// Raw Deflate data of bytes (zlib as the reference encoder).
std::string RawDeflate(const std::string& bytes);

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return FPath; }
  std::string operator/(const std::string& name) const { return FPath + "/" + name; }

 private:
  std::string FPath;
};

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);
// Whether a shell command of that name is on the PATH.
bool HaveCommand(const std::string& name);
// Runs a shell command with its output discarded; returns its exit status.
int Shell(const std::string& command);
// Runs a shell command and returns what it printed on standard output and error.
std::string Capture(const std::string& command, int* status = nullptr);
// Deterministic bytes: text-like (compressible) or noisy (like picture data).
std::string TextBytes(std::size_t size, std::uint32_t seed);
std::string NoiseBytes(std::size_t size, std::uint32_t seed);

}  // namespace pavona::package::ziptest
