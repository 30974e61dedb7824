#include "package/zip_methods.h"

#include <array>

#include "package/archive_item.h"
#include "package/entry_decoder.h"
#include "package/inflate.h"
#include "package/legacy_methods.h"

namespace pavona::package {

namespace {

void Stored(const TZipItem& item, platform::TStream& input, platform::TStream& sink) {
  DecodeStored(input, sink, item.FUncompressedSize);
}
void Deflated(const TZipItem& item, platform::TStream& input, platform::TStream& sink) {
  InflateStream(input, sink, TDeflateHelper{0, item.FCompressedSize});
}
void Deflated64(const TZipItem& item, platform::TStream& input, platform::TStream& sink) {
  InflateStream(input, sink, TDeflateHelper{kDeflateOptionDeflate64, item.FCompressedSize});
}
void BZip2(const TZipItem& item, platform::TStream& input, platform::TStream& sink) {
  DecodeBzip2(input, sink, item.FUncompressedSize);
}
void Lzma(const TZipItem& item, platform::TStream& input, platform::TStream& sink) {
  DecodeLzma(input, sink, item.FUncompressedSize);
}
void WavPack(const TZipItem& item, platform::TStream& input, platform::TStream& sink) {
  DecodeWavPack(input, sink, item.FUncompressedSize);
}
void PPMd(const TZipItem& item, platform::TStream& input, platform::TStream& sink) {
  DecodePPMd(input, sink, item.FUncompressedSize);
}

using namespace zip_method;

constexpr std::array kMethods{
    TZipMethod{kStored, "Stored", Stored},
    TZipMethod{kShrunk, "Shrunk", DecodeShrunk},
    TZipMethod{kReduced1, "Reduced1", DecodeReduced},
    TZipMethod{kReduced1 + 1, "Reduced2", DecodeReduced},
    TZipMethod{kReduced1 + 2, "Reduced3", DecodeReduced},
    TZipMethod{kReduced4, "Reduced4", DecodeReduced},
    TZipMethod{kImploded, "Imploded", DecodeImploded},
    TZipMethod{kDeflated, "Deflated", Deflated},
    TZipMethod{kDeflate64, "Deflate64", Deflated64},
    TZipMethod{kBZip2, "BZip2", BZip2},
    TZipMethod{kLZMA, "LZMA", Lzma},
    TZipMethod{kWavPack, "WavPack", WavPack},
    TZipMethod{kPPMd, "PPMd", PPMd},
};

}  // namespace

std::span<const TZipMethod> ZipMethods() { return kMethods; }

const TZipMethod* FindZipMethod(std::uint16_t number) {
  for (const TZipMethod& method : kMethods) {
    if (method.Number == number) return &method;
  }
  return nullptr;
}

}  // namespace pavona::package
