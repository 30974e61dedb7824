// Copies of full-HD frames, each timed against memcpy of the same number of bytes in the same
// iteration; the counter "vs_memcpy" is the ratio of the two times (targets: at most 1.5 for the
// block and clipped copies, at most 3 for the stretches).
#include <benchmark/benchmark.h>

#include <cstring>
#include <ctime>
#include <functional>
#include <vector>

#include "raster/bitmap.h"
#include "raster/blit.h"
#include "raster/region.h"
#include "raster/surface.h"

namespace pavona::raster {
namespace {

constexpr int kWidth = 1920, kHeight = 1080;

Bitmap Pattern(int width, int height) {
  Bitmap b(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) b.set_pixel(x, y, MakePixel(x & 255, y & 255, (x ^ y) & 255));
  return b;
}

// Processor time rather than wall time: the machines that run this are often shared.
double Seconds(const std::function<void()>& work) {
  const std::clock_t start = std::clock();
  work();
  return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

// Times op against memcpy of `bytes`, alternating the two so both see the same machine state.
void Compare(benchmark::State& state, std::size_t bytes, const std::function<void()>& op) {
  std::vector<unsigned char> from(bytes, 1), to(bytes);
  double op_time = 0, copy_time = 0;
  for (auto _ : state) {
    copy_time += Seconds([&] {
      std::memcpy(to.data(), from.data(), bytes);
      benchmark::ClobberMemory();
    });
    const double t = Seconds([&] {
      op();
      benchmark::ClobberMemory();
    });
    op_time += t;
    state.SetIterationTime(t);
  }
  benchmark::DoNotOptimize(to.data());
  state.counters["vs_memcpy"] = op_time / copy_time;
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void BM_BlockCopy(benchmark::State& state) {
  const Bitmap source = Pattern(kWidth, kHeight);
  Bitmap dest(kWidth, kHeight);
  Compare(state, dest.byte_count(), [&] { Blit(dest, 0, 0, kWidth, kHeight, source, 0, 0); });
}

// A block that is not whole rows: one move per row.
void BM_BlockCopyShifted(benchmark::State& state) {
  const Bitmap source = Pattern(kWidth, kHeight);
  Bitmap dest(kWidth, kHeight);
  Compare(state, std::size_t{kWidth - 7} * kHeight * sizeof(Pixel),
          [&] { Blit(dest, 7, 0, kWidth - 7, kHeight, source, 0, 0); });
}

// The push effects move the picture inside one bitmap.
void BM_BlockCopyInPlace(benchmark::State& state) {
  Bitmap b = Pattern(kWidth, kHeight);
  Compare(state, std::size_t{kWidth - 64} * kHeight * sizeof(Pixel),
          [&] { Blit(b, 64, 0, kWidth - 64, kHeight, b, 0, 0); });
}

// Stretches into a full-HD frame from a source block of state.range(0) × state.range(1),
// mirrored when state.range(2) is set.
void BM_Stretch(benchmark::State& state) {
  const Bitmap source = Pattern(kWidth, kHeight);
  Bitmap dest(kWidth, kHeight);
  const int sw = static_cast<int>(state.range(0)), sh = static_cast<int>(state.range(1));
  const bool mirror = state.range(2) != 0;
  Compare(state, dest.byte_count(), [&] {
    if (mirror) {
      StretchBlit(dest, kWidth - 1, 0, -kWidth, kHeight, source, 0, 0, sw, sh);
    } else {
      StretchBlit(dest, 0, 0, kWidth, kHeight, source, 0, 0, sw, sh);
    }
  });
}

// Shrinks the full-HD source into a 1280 × 720 frame.
void BM_StretchDown(benchmark::State& state) {
  const Bitmap source = Pattern(kWidth, kHeight);
  Bitmap dest(1280, 720);
  Compare(state, dest.byte_count(), [&] { StretchBlit(dest, 0, 0, 1280, 720, source, 0, 0, kWidth, kHeight); });
}

// 1,000 rectangles: a 50 × 20 grid of 30 × 45 blocks with gaps, like the random squares effect.
Region Squares() {
  std::vector<Rect> rects;
  for (int row = 0; row < 20; ++row)
    for (int col = 0; col < 50; ++col) rects.push_back(Rect::FromSize(col * 38 + 4, row * 54 + 5, 30, 45));
  return Region::FromRects(rects);
}

// 1,000 short bars in staggered rows, like the uneven shreds: ten per band, 100 bands.
Region Shreds() {
  std::vector<Rect> rects;
  for (int band = 0; band < 100; ++band)
    for (int i = 0; i < 10; ++i) rects.push_back(Rect::FromSize(i * 192 + (band * 37) % 96, band * 10 + 40, 150, 10));
  return Region::FromRects(rects);
}

std::size_t AreaBytes(const Region& r) {
  std::size_t pixels = 0;
  for (const Rect& rect : r) pixels += std::size_t(rect.width()) * rect.height();
  return pixels * sizeof(Pixel);
}

void ClippedCopy(benchmark::State& state, const Region& clip) {
  const Bitmap source = Pattern(kWidth, kHeight);
  Bitmap dest(kWidth, kHeight);
  Surface(dest).select_clip(clip);
  state.counters["rects"] = static_cast<double>(clip.rect_count());
  Compare(state, AreaBytes(clip), [&] { Blit(dest, 0, 0, kWidth, kHeight, source, 0, 0); });
}

void BM_ClippedCopySquares(benchmark::State& state) { ClippedCopy(state, Squares()); }
void BM_ClippedCopyShreds(benchmark::State& state) { ClippedCopy(state, Shreds()); }

BENCHMARK(BM_BlockCopy)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BlockCopyShifted)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BlockCopyInPlace)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Stretch)
    ->Args({1280, 720, 0})
    ->Args({1000, 600, 0})
    ->Args({kWidth, kHeight, 1})
    ->ArgNames({"sw", "sh", "mirror"})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StretchDown)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ClippedCopySquares)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ClippedCopyShreds)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pavona::raster

BENCHMARK_MAIN();
