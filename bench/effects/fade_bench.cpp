// One frame of the fade (style 119) as the frame routine composes it (one pass from the starting
// and the new picture into the frame), against a memcpy of one frame of the same size.
#include <benchmark/benchmark.h>

#include <cstring>

#include "effects/effect_table.h"
#include "raster/bitmap.h"
#include "transition/frame_renderer.h"

namespace {

using pavona::raster::Bitmap;

Bitmap Filled(int w, int h, std::uint32_t seed) {
  Bitmap bitmap(w, h);
  std::uint32_t x = seed;
  for (std::size_t i = 0; i < bitmap.pixel_count(); ++i) {
    x = x * 1664525u + 1013904223u;
    bitmap.data()[i] = x;
  }
  return bitmap;
}

void BM_Memcpy(benchmark::State& state) {
  const Bitmap source = Filled(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), 1);
  Bitmap dest(source.width(), source.height());
  for (auto _ : state) {
    std::memcpy(dest.data(), source.data(), source.byte_count());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * source.byte_count()));
}

void BM_FadeFrame(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0));
  const int h = static_cast<int>(state.range(1));
  const Bitmap oldPic = Filled(w, h, 1);
  const Bitmap pic = Filled(w, h, 2);
  Bitmap display(w, h);
  int progress = 1;
  for (auto _ : state) {
    pavona::transition::ComposeFrame(display, oldPic, pic, 119,
                                    static_cast<pavona::transition::TPercent>(progress),
                                    pavona::effects::EffectTable, 0);
    benchmark::ClobberMemory();
    progress = progress % 99 + 1;
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * display.byte_count()));
}

}  // namespace

BENCHMARK(BM_Memcpy)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FadeFrame)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMicrosecond);
