// Regions and bitmaps as text pictures, so tests can show the expected pixels: '#' for a pixel in
// the region (or of the marked colour), '.' otherwise, one line per row.
#pragma once

#include <string>

#include "raster/bitmap.h"
#include "raster/region.h"

namespace pavona::raster {

inline std::string Picture(const Region& region, int width, int height) {
  std::string text;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) text += region.contains(x, y) ? '#' : '.';
    text += '\n';
  }
  return text;
}

inline std::string Picture(const Bitmap& bitmap, Pixel marked) {
  std::string text;
  for (int y = 0; y < bitmap.height(); ++y) {
    for (int x = 0; x < bitmap.width(); ++x) text += bitmap.pixel(x, y) == marked ? '#' : '.';
    text += '\n';
  }
  return text;
}

// Drops the line break that opens a raw string literal, so pictures can start on their own line.
inline std::string Lines(const char* text) { return text[0] == '\n' ? text + 1 : text; }

}  // namespace pavona::raster
