// Feeds arbitrary bytes to the Deflate decoder. The first byte picks the variant (bit 0:
// Deflate64) and whether the stream size is given (bit 1); the rest is the compressed stream.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "package/inflate.h"
#include "platform/stream.h"

namespace {

// Counts the output and stops a run once it has produced a lot, so that highly repetitive
// Deflate64 inputs cannot make one run take seconds.
class TCountingSink final : public pavona::platform::TStream {
 public:
  struct EEnough {};
  std::size_t Read(void*, std::size_t) override { return 0; }
  void Write(const void*, std::size_t count) override {
    FWritten += count;
    if (FWritten > (64u << 20)) throw EEnough{};
  }
  std::int64_t Seek(std::int64_t, pavona::platform::SeekOrigin) override {
    return static_cast<std::int64_t>(FWritten);
  }

 private:
  std::size_t FWritten = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t mode = data[0];
  pavona::platform::TMemoryStream input(std::vector<std::uint8_t>(data + 1, data + size));
  TCountingSink output;
  pavona::package::TDeflateHelper options;
  if (mode & 1) options.Options = pavona::package::kDeflateOptionDeflate64;
  if (mode & 2) options.StreamSize = static_cast<std::int64_t>(size - 1) / 2;
  try {
    pavona::package::InflateStream(input, output, options);
  } catch (const pavona::package::EInflateError&) {
  } catch (const TCountingSink::EEnough&) {
  }
  return 0;
}
