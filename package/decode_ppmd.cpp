// PPMd entries (method 98): a 16-bit header naming the model order, its memory and what the
// model does when that memory is full, then the range-coded symbols of a PPMd variant I model.
#include <algorithm>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "package/archive_error.h"
#include "package/entry_decoder.h"
#include "package/ppmd_model.h"
#include "package/ppmd_range_decoder.h"

namespace pavona::package {

namespace {

constexpr std::size_t kOutputPiece = 4096;

struct TPpmdHeader {
  unsigned Order;
  std::uint32_t MemoryMiB;
  unsigned RestoreMethod;
};

TPpmdHeader ReadHeader(platform::TStream& input) {
  std::uint8_t bytes[2];
  input.ReadExact(bytes, 2);
  const unsigned header = bytes[0] | (bytes[1] << 8);
  const TPpmdHeader result{(header & 0x0F) + 1, ((header >> 4) & 0xFF) + 1, header >> 12};
  if (result.Order < TPpmdModel::kMinOrder || result.Order > TPpmdModel::kMaxOrder) {
    throw EPPMdError("PPMd: unsupported model order " + std::to_string(result.Order));
  }
  if ((result.MemoryMiB << 20) > TPpmdModel::kMaxMemory) {
    throw EPPMdError("PPMd: model memory of " + std::to_string(result.MemoryMiB) + " MiB is too large");
  }
  if (result.RestoreMethod != TPpmdModel::kRestoreRestart &&
      result.RestoreMethod != TPpmdModel::kRestoreCutOff) {
    throw EPPMdError("PPMd: unsupported model restoration method " +
                     std::to_string(result.RestoreMethod));
  }
  return result;
}

}  // namespace

void DecodePPMd(platform::TStream& input, platform::TStream& sink, std::int64_t size) {
  const TPpmdHeader header = ReadHeader(input);
  std::unique_ptr<TPpmdModel> model;
  try {
    model = std::make_unique<TPpmdModel>(header.MemoryMiB << 20);
  } catch (const std::bad_alloc&) {
    throw EPPMdError("PPMd: not enough memory for the model");
  }
  TPpmdRangeDecoder decoder(input);
  decoder.Start();
  model->Start(header.Order, header.RestoreMethod);

  std::vector<std::uint8_t> buffer(kOutputPiece);
  while (size > 0) {
    const auto piece = static_cast<std::size_t>(std::min<std::int64_t>(size, kOutputPiece));
    std::size_t count = 0;
    for (; count < piece; ++count) {
      const int symbol = model->DecodeSymbol(decoder);
      if (symbol < 0) break;
      buffer[count] = static_cast<std::uint8_t>(symbol);
    }
    if (count > 0) sink.Write(buffer.data(), count);
    // The end marker before the entry's size: the CRC comparison judges the shorter output.
    if (count < piece) return;
    size -= static_cast<std::int64_t>(count);
  }
}

}  // namespace pavona::package
