// Playing a chart-sized enhanced metafile (axes, grid, bars, a pie, a wide line of a series,
// labels) onto a full-HD slide, as the viewer draws a metafile slide stretched to the screen.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "pictures/metafile.h"
#include "platform/stream.h"
#include "raster/bitmap.h"
#include "tests/pictures/metafile_writer.h"

namespace pavona::pictures {
namespace {

using namespace pavona::pictures::testing;

MetafileBytes Label(int x, int y, const std::string& text) {
  MetafileBytes params;
  for (int v : {0, 0, 0, 0, 1}) Put32(params, v);
  Put32(params, FloatBits(1));
  Put32(params, FloatBits(1));
  for (int v : {x, y, static_cast<int>(text.size()), 76, 0, 0, 0, 0, 0, 0}) Put32(params, v);
  for (char c : text) Put16(params, c);
  return params;
}

// 24 x 24 units of the writer's picture, each unit split into 40 by the window.
MetafileBytes Chart() {
  EmfWriter emf;
  emf.Record(kEmrSetMapMode, {8})
      .Record(kEmrSetWindowExtEx, {960, 960})
      .Record(kEmrSetViewportExtEx, {24, 24})
      .Record(kEmrCreatePen, {1, 0, 2, 0, 0x404040})
      .Record(kEmrCreatePen, {2, 2, 0, 0, 0xC0C0C0})
      .Record(kEmrSetBkMode, {1});
  MetafileBytes font;
  Put32(font, 3);
  for (int v : {-24, 0, 0, 0, 400}) Put32(font, v);
  font.resize(4 + 20 + 8 + 64, 0);
  emf.Raw(kEmrExtCreateFontIndirectW, font).Record(kEmrSelectObject, {3});
  // Grid and axes.
  emf.Record(kEmrSelectObject, {2});
  for (int y = 100; y <= 800; y += 70) emf.Record(kEmrMoveToEx, {80, y}).Record(kEmrLineTo, {900, y});
  emf.Record(kEmrSelectObject, {1})
      .Record(kEmrMoveToEx, {80, 60})
      .Record(kEmrLineTo, {80, 800})
      .Record(kEmrLineTo, {900, 800});
  // Twelve bars in four colours, each labelled.
  for (int i = 0; i < 12; ++i) {
    const int colours[] = {0x3366CC, 0xDC3912, 0xFF9900, 0x109618};
    emf.Record(kEmrCreateBrushIndirect, {4, 0, colours[i % 4], 0})
        .Record(kEmrSelectObject, {4})
        .Record(kEmrRectangle, {100 + i * 65, 800 - (i * 37 % 600) - 80, 150 + i * 65, 800})
        .Record(kEmrSelectObject, {static_cast<std::int32_t>(0x80000000u | 0)})
        .Record(kEmrDeleteObject, {4})
        .Raw(kEmrExtTextOutW, Label(100 + i * 65, 810, "Q" + std::to_string(i % 4 + 1)));
  }
  // A series drawn with a wide geometric pen.
  emf.Record(kEmrExtCreatePen, {5, 0, 0, 0, 0, 0x10000, 6, 0, 0x0000AA, 0, 0})
      .Record(kEmrSelectObject, {5});
  std::vector<std::int32_t> series = {0, 0, 0, 0, 200};
  for (int i = 0; i < 200; ++i) {
    series.push_back(80 + i * 4);
    series.push_back(static_cast<std::int32_t>(400 + 200 * std::sin(i / 15.0)));
  }
  MetafileBytes line;
  for (std::int32_t v : series) Put32(line, v);
  emf.Raw(kEmrPolyline, line);
  // A pie of six slices in the corner, under a clip.
  emf.Record(kEmrSelectObject, {1}).Record(kEmrIntersectClipRect, {600, 40, 960, 400});
  for (int i = 0; i < 6; ++i) {
    const double a0 = i * 3.14159265 / 3, a1 = (i + 1) * 3.14159265 / 3;
    emf.Record(kEmrCreateBrushIndirect, {4, 0, 0x202020 * (i + 1), 0})
        .Record(kEmrSelectObject, {4})
        .Record(kEmrPie, {650, 80, 930, 360, static_cast<int>(790 + 140 * std::cos(a0)),
                          static_cast<int>(220 - 140 * std::sin(a0)),
                          static_cast<int>(790 + 140 * std::cos(a1)),
                          static_cast<int>(220 - 140 * std::sin(a1))})
        .Record(kEmrSelectObject, {static_cast<std::int32_t>(0x80000000u | 0)})
        .Record(kEmrDeleteObject, {4});
  }
  return emf.Finish();
}

void BM_PlayChartToFullHd(benchmark::State& state) {
  TMetafile metafile;
  platform::TMemoryStream stream(Chart());
  metafile.LoadFromStream(stream);
  raster::Bitmap slide(1920, 1080);
  for (auto _ : state) {
    slide.fill(0xFFFFFF);
    metafile.Draw(slide, raster::Rect{420, 0, 1500, 1080});
    benchmark::DoNotOptimize(slide.data());
  }
}
BENCHMARK(BM_PlayChartToFullHd)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pavona::pictures

BENCHMARK_MAIN();
