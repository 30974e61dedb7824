// Feeds arbitrary bytes to the PPMd decoder as an entry's data: the 16-bit header, then the
// range-coded stream. The header's memory field is capped at 4 MiB so that one run stays small;
// order and restoration method are left as given, so the refused headers are reached too.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <vector>

#include "package/entry_decoder.h"
#include "platform/stream.h"

namespace {

class TNullSink final : public pavona::platform::TStream {
 public:
  std::size_t Read(void*, std::size_t) override { return 0; }
  void Write(const void*, std::size_t) override {}
  std::int64_t Seek(std::int64_t, pavona::platform::SeekOrigin) override { return 0; }
};

constexpr unsigned kMaxMemoryField = 3;  // (field + 1) MiB
constexpr std::int64_t kOutputSize = 1 << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> bytes(data, data + size);
  if (bytes.size() >= 2) {
    const unsigned header = bytes[0] | (bytes[1] << 8);
    const unsigned memory = std::min((header >> 4) & 0xFF, kMaxMemoryField);
    const unsigned capped = (header & 0xF00F) | (memory << 4);
    bytes[0] = static_cast<std::uint8_t>(capped);
    bytes[1] = static_cast<std::uint8_t>(capped >> 8);
  }
  pavona::platform::TMemoryStream input(std::move(bytes));
  TNullSink sink;
  try {
    pavona::package::DecodePPMd(input, sink, kOutputSize);
  } catch (const std::exception&) {
    // Refused headers, the end of the input and undecodable data all end here.
  }
  return 0;
}
