// Frames of a style at small sizes, read back as maps of where each pixel came from, so that
// expectations can be written down by hand as rows of characters.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "effects/effect_table.h"
#include "raster/bitmap.h"
#include "transition/frame_renderer.h"

namespace pavona::effects::testing {

// Every pixel of the two pictures is distinct: the fourth byte names the picture (1 old, 2 new),
// the other bytes hold the column and the row.
inline raster::Pixel OldPixel(int x, int y) {
  return 0x01000000u | static_cast<raster::Pixel>(y) << 12 | static_cast<raster::Pixel>(x);
}
inline raster::Pixel NewPixel(int x, int y) {
  return 0x02000000u | static_cast<raster::Pixel>(y) << 12 | static_cast<raster::Pixel>(x);
}

inline raster::Bitmap Picture(int w, int h, raster::Pixel (*pixel)(int, int)) {
  raster::Bitmap bitmap(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) bitmap.set_pixel(x, y, pixel(x, y));
  }
  return bitmap;
}

// The frame of style at progress, composed as the driver composes it.
inline raster::Bitmap Frame(int style, int w, int h, int progress, std::uint32_t seed = 7) {
  const raster::Bitmap oldPic = Picture(w, h, OldPixel);
  const raster::Bitmap pic = Picture(w, h, NewPixel);
  raster::Bitmap display(w, h);
  transition::ComposeFrame(display, oldPic, pic, static_cast<transition::TShowStyle>(style),
                           static_cast<transition::TPercent>(progress), EffectTable, seed);
  return display;
}

// Where a pixel of a frame came from.
struct TSource {
  char Picture;  // 'o' old, 'n' new, '?' neither (a blend, or a colour of the effect's own)
  int X;
  int Y;
};

inline TSource SourceOf(raster::Pixel pixel) {
  const int x = static_cast<int>(pixel & 0xFFFu);
  const int y = static_cast<int>((pixel >> 12) & 0xFFFu);
  switch (pixel >> 24) {
    case 1: return {'o', x, y};
    case 2: return {'n', x, y};
    default: return {'?', x, y};
  }
}

// One string a row, top row first: 'o' or 'n' where the pixel is the old or the new picture's
// own pixel at that place, 'O' or 'N' where it comes from elsewhere in that picture (moved,
// stretched or mirrored), '?' for anything else.
inline std::vector<std::string> Map(const raster::Bitmap& frame) {
  std::vector<std::string> rows;
  for (int y = 0; y < frame.height(); ++y) {
    std::string row;
    for (int x = 0; x < frame.width(); ++x) {
      const TSource source = SourceOf(frame.pixel(x, y));
      const bool inPlace = source.X == x && source.Y == y;
      switch (source.Picture) {
        case 'o': row += inPlace ? 'o' : 'O'; break;
        case 'n': row += inPlace ? 'n' : 'N'; break;
        default: row += '?';
      }
    }
    rows.push_back(row);
  }
  return rows;
}

// A frame expected at one progress value, as the rows Map gives; Why says what the case decides.
struct TFrameCase {
  int Style, W, H, Progress;
  const char* Why;
  std::vector<std::string> Expected;
};

// count copies of one map row.
inline std::vector<std::string> Rows(int count, const std::string& row) {
  return std::vector<std::string>(count, row);
}

// One map row from runs: "o1 n4 o15" is one old pixel, four new and fifteen old.
inline std::string Row(const std::string& runs) {
  std::string row;
  std::istringstream in(runs);
  for (std::string run; in >> run;) row.append(std::stoul(run.substr(1)), run[0]);
  return row;
}

inline std::vector<std::string> Rows(std::initializer_list<const char*> runs) {
  std::vector<std::string> rows;
  for (const char* r : runs) rows.push_back(Row(r));
  return rows;
}

}  // namespace pavona::effects::testing
