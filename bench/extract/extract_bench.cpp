// Extracting a 50 MB show-like archive (text files and incompressible picture-like files, made
// with `zip`) with `pavona extract` and with `unzip -o -q`. Both run in the same process, and
// the pavona benchmark reports its time as a ratio to unzip's ("ratio_to_unzip"; target <= 1.0).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>

namespace {

namespace fs = std::filesystem;

// A fixed seed keeps the archive the same from run to run.
void MakeArchive(const fs::path& folder, const fs::path& archive) {
  std::mt19937 random(20261210);
  static const char* const kWords[] = {"slide ", "show ", "picture ", "fade ", "frame\n",
                                       "transition ", "the ", "of ", "pavona ", "and "};
  fs::create_directories(folder);
  std::size_t total = 0;
  for (int i = 0; total < 50u << 20; ++i) {
    const bool picture = i % 3 != 0;
    const std::size_t size = picture ? 1500000 + random() % 1000000 : 200000 + random() % 300000;
    std::string bytes;
    bytes.reserve(size + 16);
    if (picture) {
      // Random bytes, like the entropy-coded body of a photo: incompressible.
      while (bytes.size() < size) bytes += static_cast<char>(random());
    } else {
      while (bytes.size() < size) bytes += kWords[random() % 10];
    }
    std::ofstream(folder / ("file" + std::to_string(i) + (picture ? ".jpg" : ".txt")), std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    total += bytes.size();
  }
  const std::string command = "cd '" + folder.string() + "' && zip -q -r '" + archive.string() + "' .";
  if (std::system(command.c_str()) != 0) throw std::runtime_error("zip failed");
}

struct Fixture {
  Fixture() {
    root = fs::temp_directory_path() / ("pavona-extract-bench-" + std::to_string(std::random_device{}()));
    archive = root / "show.zip";
    MakeArchive(root / "source", archive);
  }
  ~Fixture() {
    std::error_code ignored;
    fs::remove_all(root, ignored);
  }
  fs::path root, archive;
};

Fixture& Data() {
  static Fixture fixture;
  return fixture;
}

double unzipSeconds = 0;  // mean time of one unzip run, measured first

double TimeCommand(const std::string& command) {
  const auto start = std::chrono::steady_clock::now();
  if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_Unzip(benchmark::State& state) {
  const fs::path out = Data().root / "unzip-out";
  double total = 0;
  for (auto _ : state) {
    const double seconds = TimeCommand("unzip -o -q '" + Data().archive.string() + "' -d '" + out.string() + "'");
    state.SetIterationTime(seconds);
    total += seconds;
  }
  unzipSeconds = total / static_cast<double>(state.iterations());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(fs::file_size(Data().archive)));
}

void BM_PavonaExtract(benchmark::State& state) {
  const fs::path out = Data().root / "pavona-out";
  fs::create_directories(out);
  double total = 0;
  for (auto _ : state) {
    const double seconds = TimeCommand(std::string("'") + PAVONA_TOOL + "' extract '" + Data().archive.string() + "' '" + out.string() + "'");
    state.SetIterationTime(seconds);
    total += seconds;
  }
  const double mean = total / static_cast<double>(state.iterations());
  if (unzipSeconds > 0) state.counters["ratio_to_unzip"] = mean / unzipSeconds;
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(fs::file_size(Data().archive)));
}

}  // namespace

BENCHMARK(BM_Unzip)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_PavonaExtract)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

BENCHMARK_MAIN();
