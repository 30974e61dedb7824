// Our Deflate decoder against zlib's inflate on the same 50 MB of text and pictures, compressed
// by zlib at its default level as raw Deflate and decoded in memory. Prints ours / zlib.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "package/inflate.h"
#include "platform/stream.h"

namespace {

using TBytes = std::vector<std::uint8_t>;

constexpr std::size_t kDataSize = 50u << 20;
constexpr std::size_t kChunk = 1u << 20;

struct TRandom {
  std::uint64_t state;
  std::uint32_t Next() {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return static_cast<std::uint32_t>(state >> 16);
  }
};

void AppendText(TBytes& out, std::size_t size, TRandom& random) {
  static const char* const kWords[] = {
      "the",    "slide",  "show",     "picture", "sound",  "of",     "and",   "window",
      "a",      "frame",  "effect",   "to",      "is",     "in",     "with",  "transition",
      "player", "each",   "settings", "next",    "timer",  "folder", "black", "screen",
      "file",   "scaled", "centre",   "mouse",   "key",    "wraps",  "end",   "list"};
  const std::size_t end = out.size() + size;
  while (out.size() < end) {
    const char* word = kWords[random.Next() % std::size(kWords)];
    out.insert(out.end(), word, word + std::strlen(word));
    const std::uint32_t r = random.Next() % 16;
    out.push_back(r == 0 ? '\n' : r == 1 ? ',' : ' ');
  }
  out.resize(end);
}

// 24-bit pixels: smooth two-dimensional gradients with sensor-like noise.
void AppendPicture(TBytes& out, std::size_t size, TRandom& random) {
  const std::size_t width = 1024;
  const std::uint32_t tint = random.Next();
  for (std::size_t i = 0; i < size; ++i) {
    const std::size_t pixel = i / 3;
    const std::size_t x = pixel % width;
    const std::size_t y = pixel / width;
    const unsigned channel = static_cast<unsigned>(i % 3);
    const unsigned base = static_cast<unsigned>((x * (channel + 1) + y * (3 - channel)) / 8) +
                          ((tint >> (8 * channel)) & 0xFF);
    const unsigned noise = random.Next() % 8 == 0 ? random.Next() % 5 : 0;
    out.push_back(static_cast<std::uint8_t>(base + noise));
  }
}

TBytes MakeData() {
  TRandom random{0x5DEECE66DULL};
  TBytes data;
  data.reserve(kDataSize);
  while (data.size() < kDataSize) {
    const std::size_t size = std::min(kChunk, kDataSize - data.size());
    if (random.Next() % 2 == 0)
      AppendText(data, size, random);
    else
      AppendPicture(data, size, random);
  }
  return data;
}

TBytes RawDeflate(const TBytes& data) {
  z_stream z{};
  if (deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
    throw std::runtime_error("deflateInit2 failed");
  TBytes out(deflateBound(&z, data.size()));
  z.next_in = const_cast<Bytef*>(data.data());
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  if (deflate(&z, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("deflate failed");
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

struct TSamples {
  TBytes data = MakeData();
  TBytes compressed = RawDeflate(data);
};

const TSamples& Samples() {
  static const TSamples samples;
  return samples;
}

// Output into a buffer allocated once, as zlib gets it.
class TBufferSink final : public pavona::platform::TStream {
 public:
  explicit TBufferSink(std::size_t capacity) : FBytes(capacity) {}
  std::size_t Read(void*, std::size_t) override { return 0; }
  void Write(const void* buffer, std::size_t count) override {
    if (count > FBytes.size() - FSize) throw pavona::platform::EStreamError(pavona::platform::TStreamFailure::Write);
    std::memcpy(FBytes.data() + FSize, buffer, count);
    FSize += count;
  }
  std::int64_t Seek(std::int64_t, pavona::platform::SeekOrigin) override {
    return static_cast<std::int64_t>(FSize);
  }
  void Rewind() { FSize = 0; }
  bool Holds(const TBytes& expected) const {
    return FSize == expected.size() && std::memcmp(FBytes.data(), expected.data(), FSize) == 0;
  }

 private:
  TBytes FBytes;
  std::size_t FSize = 0;
};

void BM_ZlibInflate(benchmark::State& state) {
  const TSamples& samples = Samples();
  TBytes out(samples.data.size());
  for (auto _ : state) {
    z_stream z{};
    inflateInit2(&z, -15);
    z.next_in = const_cast<Bytef*>(samples.compressed.data());
    z.avail_in = static_cast<uInt>(samples.compressed.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    const int result = inflate(&z, Z_FINISH);
    inflateEnd(&z);
    if (result != Z_STREAM_END) state.SkipWithError("zlib failed");
    benchmark::DoNotOptimize(out.data());
  }
  if (out != samples.data) state.SkipWithError("zlib decoded other bytes");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * samples.data.size()));
}

void BM_InflateStream(benchmark::State& state) {
  const TSamples& samples = Samples();
  pavona::platform::TMemoryStream in(samples.compressed);
  TBufferSink out(samples.data.size());
  for (auto _ : state) {
    in.Seek(0, pavona::platform::SeekOrigin::Begin);
    out.Rewind();
    pavona::package::InflateStream(in, out, pavona::package::TDeflateHelper{});
  }
  if (!out.Holds(samples.data)) state.SkipWithError("InflateStream decoded other bytes");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * samples.data.size()));
}

BENCHMARK(BM_ZlibInflate)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_InflateStream)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Keeps each benchmark's CPU time per iteration for the closing ratio: on a shared machine
// it varies less than the wall-clock time.
class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration && run.iterations > 0)
        seconds[run.run_name.function_name] = run.GetAdjustedCPUTime();
  }
  std::map<std::string, double> seconds;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  std::printf("data: %zu bytes, raw Deflate: %zu bytes\n", Samples().data.size(),
              Samples().compressed.size());
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const auto zlib = reporter.seconds.find("BM_ZlibInflate");
  const auto ours = reporter.seconds.find("BM_InflateStream");
  if (zlib != reporter.seconds.end() && ours != reporter.seconds.end())
    std::printf("InflateStream / zlib inflate, CPU time: %.3f\n", ours->second / zlib->second);
  benchmark::Shutdown();
  return 0;
}
