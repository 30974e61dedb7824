// The pacing of a whole threaded transition as the viewer runs it (fade, Step 12, Delay 40, a
// 1920 × 1080 picture on a 1920 × 1080 window): how far each frame starts from its place on the
// 40 ms schedule counted from the moment Execute armed the timer. Counters, in ms: mean and worst
// deviation of the ticks (when a frame begins) and of the frames (when a composed frame is ready
// to be presented, which adds the time of composing it), and of the ticks against the schedule
// of the first tick (the pace alone, without the latency of starting the timer thread).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <mutex>
#include <vector>

#include "effects/effect_table.h"
#include "platform/headless/headless_backend.h"
#include "pictures/graphic_raster.h"
#include "slideview/slide_view.h"

namespace {

using namespace pavona;
using Clock = std::chrono::steady_clock;

class TBenchGraphic final : public pictures::TRasterGraphic {
 public:
  TBenchGraphic(int w, int h, raster::Pixel color) {
    raster::Bitmap pixels(w, h);
    pixels.fill(color);
    SetPixels(std::move(pixels), false);
  }
  void LoadFromStream(platform::TStream&) override {}
  std::unique_ptr<pictures::TGraphic> Clone() const override {
    return std::make_unique<TBenchGraphic>(Width(), Height(), Pixels().pixel(0, 0));
  }
};

// The backend's frame timer, noting when each tick begins.
class TStampingTimer final : public platform::TFrameTimer {
 public:
  TStampingTimer(std::unique_ptr<platform::TFrameTimer> inner, std::mutex& mutex,
                 std::vector<Clock::time_point>& ticks)
      : FInner(std::move(inner)), FMutex(mutex), FTicks(ticks) {}
  bool Start(std::uint32_t period, std::uint32_t resolution, std::function<void()> callback) override {
    return FInner->Start(period, resolution, [this, callback = std::move(callback)] {
      {
        std::lock_guard lock(FMutex);
        FTicks.push_back(Clock::now());
      }
      callback();
    });
  }
  void Stop() override { FInner->Stop(); }
  bool Running() const override { return FInner->Running(); }

 private:
  std::unique_ptr<platform::TFrameTimer> FInner;
  std::mutex& FMutex;
  std::vector<Clock::time_point>& FTicks;
};

struct TDeviation {
  double sum = 0;
  double worst = 0;
  int count = 0;
  void Add(const std::vector<Clock::time_point>& times, Clock::time_point start) {
    for (std::size_t k = 0; k < times.size(); ++k) {
      const double planned = 40.0 * static_cast<double>(k + 1);
      const double actual = std::chrono::duration<double, std::milli>(times[k] - start).count();
      const double deviation = std::abs(actual - planned);
      sum += deviation;
      worst = std::max(worst, deviation);
      ++count;
    }
  }
  double Mean() const { return count > 0 ? sum / count : 0; }
};

void BM_ThreadedTransitionPacing(benchmark::State& state) {
  platform::headless::THeadlessBackend backend({1920, 1080},
                                               platform::headless::THeadlessBackend::FrameTimers::Threaded);
  backend.Window().Show();
  std::mutex mutex;
  std::vector<Clock::time_point> ticks;
  std::vector<Clock::time_point> frames;
  slideview::TSlideView view(
      backend.MainWindow(),
      [&] { return std::make_unique<TStampingTimer>(backend.CreateFrameTimer(), mutex, ticks); },
      effects::EffectTable);
  view.SetAlign(slideview::alClient);
  view.SetCenter(true);
  view.SetProportional(true);
  view.SetStretch(true);
  view.SetStyle(119);
  view.SetStep(12);

  bool stopped = false;
  view.SetOnAfterNewFrame([&](slideview::TCustomSlideView&, raster::Bitmap&, raster::Bitmap&) {
    std::lock_guard lock(mutex);
    frames.push_back(Clock::now());
  });
  view.SetOnStop([&](slideview::TCustomSlideView&) { stopped = true; });

  TDeviation tickDeviation;
  TDeviation frameDeviation;
  TDeviation paceDeviation;  // ticks against the schedule of the first tick
  int colour = 0;
  for (auto _ : state) {
    view.Picture().SetGraphic(
        std::make_unique<TBenchGraphic>(1920, 1080, colour++ % 2 ? 0xFFFFFF : 0x202020));
    {
      std::lock_guard lock(mutex);
      ticks.clear();
      frames.clear();
    }
    stopped = false;
    view.Execute();
    // Execute returns once the timer is armed: the schedule counts from here.
    const Clock::time_point start = Clock::now();
    backend.RunFor(std::chrono::seconds(5), [&] { return stopped; });
    std::lock_guard lock(mutex);
    tickDeviation.Add(ticks, start);
    frameDeviation.Add(frames, start);
    if (!ticks.empty()) {
      paceDeviation.Add(std::vector<Clock::time_point>(ticks.begin() + 1, ticks.end()),
                        ticks.front());
    }
  }
  state.counters["frames"] =
      static_cast<double>(frameDeviation.count) / static_cast<double>(state.iterations());
  state.counters["tick_mean_ms"] = tickDeviation.Mean();
  state.counters["tick_worst_ms"] = tickDeviation.worst;
  state.counters["pace_mean_ms"] = paceDeviation.Mean();
  state.counters["pace_worst_ms"] = paceDeviation.worst;
  state.counters["frame_mean_ms"] = frameDeviation.Mean();
  state.counters["frame_worst_ms"] = frameDeviation.worst;
}

}  // namespace

BENCHMARK(BM_ThreadedTransitionPacing)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();
