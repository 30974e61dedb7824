#include "tools/picture_fit.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace pavona::tools {

namespace {

struct TContribution {
  int Source;
  double Weight;
};

// For each of count target positions along an axis of length from, the source positions it
// covers with their shares of its area (summing to 1).
std::vector<std::vector<TContribution>> AxisWeights(int from, int count) {
  std::vector<std::vector<TContribution>> weights(static_cast<std::size_t>(count));
  const double scale = static_cast<double>(from) / count;
  for (int i = 0; i < count; ++i) {
    const double start = i * scale;
    const double end = (i + 1) * scale;
    for (int s = static_cast<int>(start); s < from && s < end; ++s) {
      const double covered = std::min(end, s + 1.0) - std::max(start, static_cast<double>(s));
      if (covered > 0) weights[static_cast<std::size_t>(i)].push_back({s, covered / scale});
    }
  }
  return weights;
}

int Channel(raster::Pixel pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); }

}  // namespace

raster::Size FitWithin(raster::Size picture, raster::Size box) {
  if (picture.Width <= box.Width && picture.Height <= box.Height) return picture;
  const auto w = static_cast<std::int64_t>(picture.Width);
  const auto h = static_cast<std::int64_t>(picture.Height);
  // The side that overflows more decides the scale; the other is rounded to nearest.
  if (w * box.Height >= h * box.Width) {
    return {box.Width, static_cast<int>(std::max<std::int64_t>(1, (h * box.Width * 2 + w) / (2 * w)))};
  }
  return {static_cast<int>(std::max<std::int64_t>(1, (w * box.Height * 2 + h) / (2 * h))), box.Height};
}

raster::Bitmap ScaleDownByArea(const raster::Bitmap& source, raster::Size size) {
  const auto columns = AxisWeights(source.width(), size.Width);
  const auto rows = AxisWeights(source.height(), size.Height);
  const std::size_t width = static_cast<std::size_t>(size.Width);
  // One source row at a time, scaled across, is added into the target row it covers: a photo's
  // worth of intermediate values would not fit in memory. A source row shared by two target
  // rows is scaled twice.
  std::vector<double> sum(width * 3);
  raster::Bitmap target(size.Width, size.Height);
  const auto rounded = [](double value) {
    return static_cast<std::uint8_t>(std::clamp(value + 0.5, 0.0, 255.0));
  };
  for (int y = 0; y < size.Height; ++y) {
    std::fill(sum.begin(), sum.end(), 0.0);
    for (const TContribution& r : rows[static_cast<std::size_t>(y)]) {
      const raster::Pixel* row = source.scanline(r.Source);
      for (std::size_t x = 0; x < width; ++x) {
        double red = 0, green = 0, blue = 0;
        for (const TContribution& c : columns[x]) {
          red += Channel(row[c.Source], 16) * c.Weight;
          green += Channel(row[c.Source], 8) * c.Weight;
          blue += Channel(row[c.Source], 0) * c.Weight;
        }
        sum[x * 3] += red * r.Weight;
        sum[x * 3 + 1] += green * r.Weight;
        sum[x * 3 + 2] += blue * r.Weight;
      }
    }
    raster::Pixel* out = target.scanline(y);
    for (std::size_t x = 0; x < width; ++x) {
      out[x] = raster::MakePixel(rounded(sum[x * 3]), rounded(sum[x * 3 + 1]),
                                 rounded(sum[x * 3 + 2]));
    }
  }
  return target;
}

}  // namespace pavona::tools
