// One frame of every style at progress 50 and 1920 × 1080, composed as the driver does.
// The ratio to BM_Memcpy/1920/1080 is printed after the run.
#include <benchmark/benchmark.h>

#include <string>

#include "effects/effect_table.h"
#include "raster/bitmap.h"
#include "transition/frame_renderer.h"

namespace {

using pavona::raster::Bitmap;

Bitmap Noise(int w, int h, std::uint32_t seed) {
  Bitmap bitmap(w, h);
  std::uint32_t x = seed;
  for (std::size_t i = 0; i < bitmap.pixel_count(); ++i) {
    x = x * 1664525u + 1013904223u;
    bitmap.data()[i] = x;
  }
  return bitmap;
}

void BM_Style(benchmark::State& state) {
  const auto style = static_cast<pavona::transition::TShowStyle>(state.range(0));
  const Bitmap oldPic = Noise(1920, 1080, 1);
  const Bitmap pic = Noise(1920, 1080, 2);
  Bitmap display(1920, 1080);
  for (auto _ : state) {
    pavona::transition::ComposeFrame(display, oldPic, pic, style, 50, pavona::effects::EffectTable,
                                     7);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * display.byte_count()));
}

const bool kRegistered = [] {
  for (int style = 1; style <= pavona::transition::kMaxStyle; ++style) {
    benchmark::RegisterBenchmark("BM_Style", BM_Style)->Arg(style)->Unit(benchmark::kMicrosecond);
  }
  return true;
}();

}  // namespace
