// Loads an archive from the fuzzer's bytes and decodes every entry into a sink that discards
// what it gets, so every header path, name decoding and codec meets corrupt input.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <vector>

#include "package/entry_decoder.h"
#include "package/zip_archive.h"
#include "platform/stream.h"

namespace {

using namespace pavona;

class TNullStream final : public platform::TStream {
 public:
  std::size_t Read(void*, std::size_t) override { return 0; }
  void Write(const void*, std::size_t) override {}
  std::int64_t Seek(std::int64_t, platform::SeekOrigin) override { return 0; }
};

// Entries claiming more output than this would only make the run slow, not find more faults.
constexpr std::int64_t kMaxEntrySize = 8 << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  platform::TMemoryStream stream(std::vector<std::uint8_t>(data, data + size));
  package::TZipArchive archive(stream, "fuzz.zip");
  archive.Password = "pavona";
  try {
    archive.Load();
  } catch (const std::exception&) {
    // Entries read before the failure are still decoded below.
  }
  for (int i = 0; i < archive.Count(); ++i) {
    package::TZipItem& item = archive.Items(i);
    try {
      (void)item.MatchesStoredNameEx("*.jpg;*.*");
      (void)item.NativeFileAttributes();
      (void)item.LastModTimeAsDateTime();
    } catch (const std::exception&) {
    }
    if (item.IsDirectory() || item.FUncompressedSize > kMaxEntrySize) continue;
    try {
      auto input = package::OpenEntryData(archive, item);
      TNullStream sink;
      package::DecodeEntry(archive, item, *input, sink);
    } catch (const std::exception&) {
    }
  }
  return 0;
}
