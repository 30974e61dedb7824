// WavPack entries (method 97): a WavPack stream that rebuilds the stored audio file, its header
// wrapper followed by the samples in the file's own byte layout, then any trailing wrapper.
#include <wavpack/wavpack.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <vector>

#include "package/archive_error.h"
#include "package/entry_decoder.h"

namespace pavona::package {

namespace {

// The decoder's view of the entry data: a forward stream with one byte of push-back.
struct TWavPackSource {
  platform::TStream& stream;
  std::int64_t position = 0;
  int pushedBack = -1;
  std::exception_ptr error;  // raised again once the decoder has returned
};

TWavPackSource& SourceOf(void* id) { return *static_cast<TWavPackSource*>(id); }

int32_t ReadBytes(void* id, void* data, int32_t count) {
  TWavPackSource& source = SourceOf(id);
  auto* out = static_cast<std::uint8_t*>(data);
  std::size_t done = 0;
  try {
    if (count > 0 && source.pushedBack >= 0) {
      out[done++] = static_cast<std::uint8_t>(source.pushedBack);
      source.pushedBack = -1;
    }
    while (done < static_cast<std::size_t>(std::max(count, 0))) {
      const std::size_t got = source.stream.Read(out + done, static_cast<std::size_t>(count) - done);
      if (got == 0) break;
      done += got;
    }
  } catch (...) {
    // Exceptions must not cross the decoder's C frames.
    source.error = std::current_exception();
  }
  source.position += static_cast<std::int64_t>(done);
  return static_cast<int32_t>(done);
}

int32_t WriteBytes(void*, void*, int32_t) { return 0; }
int64_t GetPos(void* id) { return SourceOf(id).position; }
int SetPosAbs(void*, int64_t) { return -1; }
int SetPosRel(void*, int64_t, int) { return -1; }

int PushBackByte(void* id, int c) {
  TWavPackSource& source = SourceOf(id);
  if (source.pushedBack >= 0 || source.position == 0) return EOF;
  source.pushedBack = c & 0xFF;
  --source.position;
  return c;
}

int64_t GetLength(void*) { return 0; }
int CanSeek(void*) { return 0; }
int TruncateHere(void*) { return -1; }
int Close(void*) { return 0; }

WavpackStreamReader64 kReader = {ReadBytes, WriteBytes, GetPos, SetPosAbs, SetPosRel,
                                 PushBackByte, GetLength, CanSeek, TruncateHere, Close};

class TWavPackContext {
 public:
  explicit TWavPackContext(TWavPackSource& source) {
    char error[81] = {};
    FContext = WavpackOpenFileInputEx64(&kReader, &source, nullptr, error, OPEN_WRAPPER, 0);
    if (FContext == nullptr) {
      throw EWavPackError("WavPack decompression failed: " + std::string(error).substr(0, 80));
    }
  }
  ~TWavPackContext() { WavpackCloseFile(FContext); }
  TWavPackContext(const TWavPackContext&) = delete;
  TWavPackContext& operator=(const TWavPackContext&) = delete;

  WavpackContext* Get() const { return FContext; }

 private:
  WavpackContext* FContext;
};

// The collected wrapper bytes (header at the start, trailer at the end), then released.
void WriteWrapper(WavpackContext* context, platform::TStream& sink, std::int64_t& room) {
  const std::uint32_t bytes = WavpackGetWrapperBytes(context);
  if (bytes > 0 && room > 0) {
    const auto n = static_cast<std::size_t>(std::min<std::int64_t>(bytes, room));
    sink.Write(WavpackGetWrapperData(context), n);
    room -= static_cast<std::int64_t>(n);
  }
  WavpackFreeWrapper(context);
}

// Lays samples out as the audio file stores them: 8-bit unsigned unless flagged signed, wider
// samples little-endian unless flagged big-endian; floats are stored as their bit patterns.
std::size_t PackSamples(const std::int32_t* samples, std::size_t count, int bytesPerSample,
                        int qualifyMode, std::uint8_t* out) {
  const bool bigEndian = (qualifyMode & QMODE_BIG_ENDIAN) != 0;
  std::uint8_t* p = out;
  for (std::size_t i = 0; i < count; ++i) {
    auto value = static_cast<std::uint32_t>(samples[i]);
    if (bytesPerSample == 1) {
      *p++ = static_cast<std::uint8_t>((qualifyMode & QMODE_SIGNED_BYTES) ? value : value + 128);
      continue;
    }
    for (int b = 0; b < bytesPerSample; ++b) {
      const int shift = 8 * (bigEndian ? bytesPerSample - 1 - b : b);
      *p++ = static_cast<std::uint8_t>(value >> shift);
    }
  }
  return static_cast<std::size_t>(p - out);
}

}  // namespace

void DecodeWavPack(platform::TStream& input, platform::TStream& sink, std::int64_t size) {
  TWavPackSource source{input, 0, -1, nullptr};
  TWavPackContext context(source);
  WavpackContext* wpc = context.Get();
  // Output beyond the entry's size cannot pass the CRC check, so decoding stops there.
  std::int64_t room = size;
  WriteWrapper(wpc, sink, room);

  const int channels = std::max(1, WavpackGetNumChannels(wpc));
  const int bytesPerSample = std::clamp(WavpackGetBytesPerSample(wpc), 1, 4);
  const int qualifyMode = WavpackGetQualifyMode(wpc);
  constexpr std::uint32_t kFrames = 4096;
  std::vector<std::int32_t> samples(kFrames * static_cast<std::size_t>(channels));
  std::vector<std::uint8_t> bytes(samples.size() * 4);
  while (room > 0) {
    const std::uint32_t frames = WavpackUnpackSamples(wpc, samples.data(), kFrames);
    if (frames == 0) break;
    std::size_t n = PackSamples(samples.data(), std::size_t{frames} * static_cast<std::size_t>(channels),
                                bytesPerSample, qualifyMode, bytes.data());
    n = static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(n), room));
    sink.Write(bytes.data(), n);
    room -= static_cast<std::int64_t>(n);
  }
  if (source.error) std::rethrow_exception(source.error);
  WriteWrapper(wpc, sink, room);
}

}  // namespace pavona::package
