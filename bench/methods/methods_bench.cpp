// The PPMd decoder (method 98) on an 8 MB entry of text and pictures that 7zz made with its
// default PPMd settings, decoded in memory through a CRC-32 sink, against `7zz x` extracting
// the same entry to /dev/null (process start included), best of five runs each. Prints the
// ratio of CPU times, ours / 7zz.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "package/crc32.h"
#include "package/entry_decoder.h"
#include "platform/stream.h"

namespace {

using TBytes = std::vector<std::uint8_t>;

constexpr std::size_t kDataSize = 8u << 20;
constexpr std::size_t kChunk = 1u << 20;
constexpr int kToolRuns = 5;

void AppendText(TBytes& out, std::size_t size, std::mt19937& random) {
  static const char* const kWords[] = {
      "the",    "slide",  "show",     "picture", "sound",  "of",     "and",   "window",
      "a",      "frame",  "effect",   "to",      "is",     "in",     "with",  "transition",
      "player", "each",   "settings", "next",    "timer",  "folder", "black", "screen"};
  const std::size_t end = out.size() + size;
  while (out.size() < end) {
    const char* word = kWords[random() % std::size(kWords)];
    out.insert(out.end(), word, word + std::strlen(word));
    const std::uint32_t r = random() % 16;
    out.push_back(r == 0 ? '\n' : r == 1 ? ',' : ' ');
  }
  out.resize(end);
}

// 24-bit pixels: smooth gradients with sensor-like noise.
void AppendPicture(TBytes& out, std::size_t size, std::mt19937& random) {
  const std::uint32_t tint = random();
  for (std::size_t i = 0; i < size; ++i) {
    const std::size_t x = (i / 3) % 1024;
    const std::size_t y = i / 3072;
    const unsigned channel = static_cast<unsigned>(i % 3);
    const unsigned base = static_cast<unsigned>((x * (channel + 1) + y * (3 - channel)) / 8) +
                          ((tint >> (8 * channel)) & 0xFF);
    const unsigned noise = random() % 8 == 0 ? random() % 5 : 0;
    out.push_back(static_cast<std::uint8_t>(base + noise));
  }
}

TBytes ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return TBytes(std::istreambuf_iterator<char>(file), {});
}

struct TSample {
  std::string folder;
  TBytes data;
  TBytes entry;  // the PPMd stream: header and range-coded data
  std::uint32_t crc = 0;

  TSample() {
    folder = (std::filesystem::temp_directory_path() / ("pavona-methods-bench-" + std::to_string(std::random_device()()))).string();
    std::filesystem::create_directories(folder);
    std::mt19937 random(0x5DEECE6);
    data.reserve(kDataSize);
    while (data.size() < kDataSize) {
      const std::size_t size = std::min(kChunk, kDataSize - data.size());
      if (random() % 2 == 0) AppendText(data, size, random);
      else AppendPicture(data, size, random);
    }
    std::ofstream(folder + "/data.bin", std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    const std::string command = "cd " + folder + " && 7zz a -bd -bso0 -tzip -mm=PPMd data.zip data.bin";
    if (std::system(command.c_str()) != 0) throw std::runtime_error("7zz failed: is it installed?");
    const TBytes zip = ReadAll(folder + "/data.zip");
    const auto u16 = [&zip](std::size_t at) { return static_cast<std::size_t>(zip[at] | zip[at + 1] << 8); };
    std::uint32_t packed;
    std::memcpy(&packed, zip.data() + 18, 4);
    const std::size_t start = 30 + u16(26) + u16(28);
    entry.assign(zip.begin() + static_cast<std::ptrdiff_t>(start),
                 zip.begin() + static_cast<std::ptrdiff_t>(start + packed));
    crc = pavona::package::Crc32Of(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
  }
  ~TSample() { std::filesystem::remove_all(folder); }
};

const TSample& Sample() {
  static const TSample sample;
  return sample;
}

// The reader's sink without a file: the running CRC-32 of everything written.
class TCrcSink final : public pavona::platform::TStream {
 public:
  std::size_t Read(void*, std::size_t) override { return 0; }
  void Write(const void* buffer, std::size_t count) override {
    FCrc = pavona::package::UpdateCrc32(FCrc, buffer, count);
    FCount += count;
  }
  std::int64_t Seek(std::int64_t, pavona::platform::SeekOrigin) override {
    return static_cast<std::int64_t>(FCount);
  }
  std::uint32_t Crc() const { return ~FCrc; }

 private:
  std::uint32_t FCrc = 0xFFFFFFFF;
  std::size_t FCount = 0;
};

void BM_DecodePPMd(benchmark::State& state) {
  const TSample& sample = Sample();
  std::uint32_t crc = 0;
  for (auto _ : state) {
    pavona::platform::TMemoryStream input(sample.entry);
    TCrcSink sink;
    pavona::package::DecodePPMd(input, sink, static_cast<std::int64_t>(sample.data.size()));
    crc = sink.Crc();
  }
  if (crc != sample.crc) state.SkipWithError("DecodePPMd decoded other bytes");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sample.data.size()));
}

// The best of five, as for 7zz below: on a shared machine the minimum is the steadiest figure.
BENCHMARK(BM_DecodePPMd)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.5)
    ->Repetitions(kToolRuns)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); });

class TTimeReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "min") seconds = run.GetAdjustedCPUTime() / 1e3;
  }
  double seconds = 0;
};

// CPU seconds (user + system) of the best of several `7zz x` runs, as bash's `time` reports
// them: on a shared machine CPU time varies less than wall-clock time.
double ToolSeconds() {
  const std::string times = Sample().folder + "/times.txt";
  const std::string command = "bash -c 'TIMEFORMAT=\"%3U %3S\"; time 7zz x -so " + Sample().folder +
                              "/data.zip > /dev/null' 2> " + times;
  double best = 1e9;
  for (int i = 0; i < kToolRuns; ++i) {
    if (std::system(command.c_str()) != 0) throw std::runtime_error("7zz x failed");
    double user = 0;
    double system = 0;
    std::ifstream(times) >> user >> system;
    best = std::min(best, user + system);
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  std::printf("data: %zu bytes, PPMd entry: %zu bytes\n", Sample().data.size(), Sample().entry.size());
  TTimeReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double tool = ToolSeconds();
  std::printf("7zz x, best of %d: %.1f ms CPU\n", kToolRuns, tool * 1e3);
  if (reporter.seconds > 0) std::printf("DecodePPMd / 7zz x, CPU time: %.3f\n", reporter.seconds / tool);
  benchmark::Shutdown();
  return 0;
}
