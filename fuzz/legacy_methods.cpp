// Feeds arbitrary bytes to the legacy decoders through the method table. The first byte picks
// the method (1 to 6), the second is the general-purpose bit flag (bits 1 and 2 choose the
// implode dictionary and trees), the next two give half the uncompressed size; the rest is
// the entry's data. Only the errors of damaged data may leave a decoder, and never more output
// than the size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "package/archive_error.h"
#include "package/archive_item.h"
#include "package/zip_methods.h"
#include "platform/stream.h"

namespace {

using namespace pavona;

class TBoundedSink final : public platform::TStream {
 public:
  explicit TBoundedSink(std::int64_t size) : FLeft(size) {}
  std::size_t Read(void*, std::size_t) override { return 0; }
  void Write(const void*, std::size_t count) override {
    FLeft -= static_cast<std::int64_t>(count);
    if (FLeft < 0) std::abort();
  }
  std::int64_t Seek(std::int64_t, platform::SeekOrigin) override { return 0; }

 private:
  std::int64_t FLeft;
};

constexpr std::size_t kHeader = 4;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < kHeader) return 0;
  package::TZipItem item;
  item.FItemInfo.FCompressionMethod = static_cast<std::uint16_t>(1 + data[0] % 6);
  item.FItemInfo.FGeneralPurposeBitFlag = data[1];
  item.FUncompressedSize = std::int64_t{data[2] | data[3] << 8} * 2;
  platform::TMemoryStream input(std::vector<std::uint8_t>(data + kHeader, data + size));
  TBoundedSink sink(item.FUncompressedSize);
  try {
    package::FindZipMethod(item.CompressionMethod())->Decode(item, input, sink);
  } catch (const package::EZipBadCRC&) {
  } catch (const platform::EStreamError&) {
  }
  return 0;
}
