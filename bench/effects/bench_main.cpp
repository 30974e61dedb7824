// Runs the benchmarks and then states each fade frame, and each style's frame, as a multiple of
// the memcpy of a frame of the same size, both measured in this run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (!run.error_occurred) {
        FTimes[run.benchmark_name()] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void PrintRatios() const {
    for (const char* size : {"1920/1080", "3840/2160"}) {
      const auto memcpy = FTimes.find(std::string("BM_Memcpy/") + size);
      const auto fade = FTimes.find(std::string("BM_FadeFrame/") + size);
      if (memcpy == FTimes.end() || fade == FTimes.end()) continue;
      if (memcpy->second.first <= 0 || memcpy->second.second <= 0) continue;
      std::printf("fade frame %s: %.2f x memcpy of a frame (real time), %.2f x (CPU time)\n", size,
                  fade->second.first / memcpy->second.first,
                  fade->second.second / memcpy->second.second);
    }
    const auto memcpy = FTimes.find("BM_Memcpy/1920/1080");
    if (memcpy == FTimes.end() || memcpy->second.second <= 0) return;
    std::vector<std::pair<double, std::string>> styles;
    for (const auto& [name, time] : FTimes) {
      if (name.rfind("BM_Style/", 0) == 0) styles.emplace_back(time.second / memcpy->second.second, name);
    }
    std::sort(styles.rbegin(), styles.rend());
    for (const auto& [ratio, name] : styles) {
      std::printf("style %s at 1920/1080: %.2f x memcpy of a frame (CPU time)\n",
                  name.c_str() + 9, ratio);
    }
  }

 private:
  std::map<std::string, std::pair<double, double>> FTimes;  // real, CPU
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
