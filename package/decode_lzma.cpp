// LZMA entries (method 14): a 4-byte header (encoder version, size of the properties), the
// LZMA1 properties, then raw LZMA data decoded until the entry's size is reached.
#include <lzma.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "package/archive_error.h"
#include "package/entry_decoder.h"
#include "package/little_endian.h"

namespace pavona::package {

namespace {

constexpr std::size_t kInputBlock = 65536;
constexpr std::size_t kOutputBlock = 65536;

// Result codes of the LZMA decoder as the archive reports them.
enum : int {
  kDataError = 1, kMemError = 2, kUnsupported = 4, kParamError = 5, kInputEof = 6,
};

std::string LzmaMessage(int code) {
  switch (code) {
    case 1: return "LZMA Data Error.";
    case 2: return "LZMA Memory Error.";
    case 3: return "LZMA CRC Error.";
    case 4: return "LZMA \"Unsupported\" Error.";
    case 5: return "LZMA Parameter Error.";
    case 6: return "LZMA Input EOF Error.";
    case 7: return "LZMA Output EOF Error.";
    case 8: return "LZMA Read Error.";
    case 9: return "LZMA Write Error.";
    case 10: return "LZMA Progress Error.";
    case 11: return "LZMA \"Fail\" Error.";
    case 12: return "LZMA Thread Error.";
    case 16: return "LZMA Archive Error.";
    case 17: return "LZMA \"No Archive\" Error.";
    default: return "Unknown LZMA error (" + std::to_string(code) + ")";
  }
}

int CodeOf(lzma_ret result) {
  switch (result) {
    case LZMA_MEM_ERROR:
    case LZMA_MEMLIMIT_ERROR: return kMemError;
    case LZMA_OPTIONS_ERROR:
    case LZMA_FORMAT_ERROR: return kUnsupported;
    case LZMA_PROG_ERROR: return kParamError;
    default: return kDataError;
  }
}

class TLzmaDecoder {
 public:
  TLzmaDecoder(const std::uint8_t* properties, std::size_t size) {
    lzma_filter filters[2] = {{LZMA_FILTER_LZMA1, nullptr}, {LZMA_VLI_UNKNOWN, nullptr}};
    lzma_ret result = lzma_properties_decode(&filters[0], nullptr, properties, size);
    if (result != LZMA_OK) throw ELZMAException(CodeOf(result));
    result = lzma_raw_decoder(&FState, filters);
    // The decoder copies the options; the allocation made for them is ours to free.
    std::free(filters[0].options);
    if (result != LZMA_OK) throw ELZMAException(CodeOf(result));
  }
  ~TLzmaDecoder() { lzma_end(&FState); }
  TLzmaDecoder(const TLzmaDecoder&) = delete;
  TLzmaDecoder& operator=(const TLzmaDecoder&) = delete;

  lzma_stream& State() { return FState; }

 private:
  lzma_stream FState = LZMA_STREAM_INIT;
};

}  // namespace

ELZMAException::ELZMAException(int code) : std::runtime_error(LzmaMessage(code)), Code(code) {}

void DecodeLzma(platform::TStream& input, platform::TStream& sink, std::int64_t size) {
  std::uint8_t header[4];
  if (ReadAvailable(input, header, sizeof header) < sizeof header) throw ELZMAException(kInputEof);
  std::vector<std::uint8_t> properties(GetU16(header + 2));
  if (ReadAvailable(input, properties.data(), properties.size()) < properties.size()) {
    throw ELZMAException(kInputEof);
  }
  TLzmaDecoder decoder(properties.data(), properties.size());
  lzma_stream& state = decoder.State();
  std::vector<std::uint8_t> in(kInputBlock), out(kOutputBlock);
  bool inputEnded = false;
  while (size > 0) {
    if (state.avail_in == 0 && !inputEnded) {
      state.next_in = in.data();
      state.avail_in = input.Read(in.data(), in.size());
      inputEnded = state.avail_in == 0;
    }
    state.next_out = out.data();
    state.avail_out = static_cast<std::size_t>(std::min<std::int64_t>(size, kOutputBlock));
    const lzma_ret result = lzma_code(&state, inputEnded ? LZMA_FINISH : LZMA_RUN);
    const std::size_t produced = static_cast<std::size_t>(state.next_out - out.data());
    if (produced > 0) {
      sink.Write(out.data(), produced);
      size -= static_cast<std::int64_t>(produced);
    }
    if (result == LZMA_STREAM_END) break;  // an end marker before the size: the CRC decides
    if (result == LZMA_BUF_ERROR || (result == LZMA_OK && inputEnded && produced == 0)) {
      throw ELZMAException(kInputEof);
    }
    if (result != LZMA_OK) throw ELZMAException(CodeOf(result));
  }
}

}  // namespace pavona::package
