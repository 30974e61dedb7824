// Styles 12 to 17 and 29 to 34, the split, unroll and build-up wipes. Each moves along one axis,
// so a frame is written down as one line: for every column (row) the new picture's column (row)
// it shows, or the starting picture in place, and the shade added to it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "effects/effect_table.h"
#include "raster/bitmap.h"
#include "transition/frame_renderer.h"

namespace pavona::effects {
namespace {

// Pictures whose pixels name the picture in the fourth byte (1 old, 2 new) and their place in
// green and red; blue is bright in the new picture so that a lightening shade reaches the clamp.
raster::Pixel Encoded(std::uint32_t picture, int x, int y) {
  const std::uint32_t blue = picture == 2 ? 0xF0u : 0x40u;
  return picture << 24 | static_cast<std::uint32_t>((y + 64) & 0xFF) << 16 |
         static_cast<std::uint32_t>((x + 64) & 0xFF) << 8 | blue;
}

raster::Pixel Shaded(raster::Pixel pixel, int offset) {
  raster::Pixel out = pixel & 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    const int channel = std::clamp(static_cast<int>((pixel >> shift) & 0xFFu) + offset, 0, 255);
    out |= static_cast<raster::Pixel>(channel) << shift;
  }
  return out;
}

constexpr int kOld = -1;

// One token: "." the starting picture, "a" one value, "a..b" every value from a to b, "a..b/s"
// every s-th.
std::vector<int> Values(const std::string& token) {
  if (token == ".") return {kOld};
  const std::size_t dots = token.find("..");
  if (dots == std::string::npos) return {std::stoi(token)};
  const std::string rest = token.substr(dots + 2);
  const std::size_t slash = rest.find('/');
  const int from = std::stoi(token.substr(0, dots));
  const int to = std::stoi(rest.substr(0, slash));
  const int step =
      (slash == std::string::npos ? 1 : std::stoi(rest.substr(slash + 1))) * (to < from ? -1 : 1);
  std::vector<int> values;
  for (int v = from; step > 0 ? v <= to : v >= to; v += step) values.push_back(v);
  return values;
}

// Space-separated tokens, each optionally followed by "*n": every value it stands for n times.
std::vector<int> Line(const std::string& text) {
  std::vector<int> values;
  std::istringstream in(text);
  for (std::string token; in >> token;) {
    const std::size_t star = token.find('*');
    const std::size_t times = star == std::string::npos ? 1 : std::stoul(token.substr(star + 1));
    for (const int v : Values(token.substr(0, star))) values.insert(values.end(), times, v);
  }
  return values;
}

enum class TAxis { Columns, Rows };

struct TCase {
  int Style;
  int W, H, Progress;
  TAxis Axis;
  const char* Sources;  // per column (row): the new picture's column (row), or "." for the start
  const char* Shades;   // per column (row): the offset added; empty for none
};

void ExpectFrame(const TCase& c) {
  raster::Bitmap oldPic(c.W, c.H), pic(c.W, c.H), display(c.W, c.H);
  for (int y = 0; y < c.H; ++y) {
    for (int x = 0; x < c.W; ++x) {
      oldPic.set_pixel(x, y, Encoded(1, x, y));
      pic.set_pixel(x, y, Encoded(2, x, y));
    }
  }
  transition::ComposeFrame(display, oldPic, pic, static_cast<transition::TShowStyle>(c.Style),
                           static_cast<transition::TPercent>(c.Progress), EffectTable, 7);
  const int length = c.Axis == TAxis::Columns ? c.W : c.H;
  const std::vector<int> sources = Line(c.Sources);
  std::vector<int> shades = Line(c.Shades);
  if (shades.empty()) shades.assign(static_cast<std::size_t>(length), 0);
  ASSERT_EQ(sources.size(), static_cast<std::size_t>(length));
  ASSERT_EQ(shades.size(), static_cast<std::size_t>(length));
  for (int y = 0; y < c.H; ++y) {
    for (int x = 0; x < c.W; ++x) {
      const int at = c.Axis == TAxis::Columns ? x : y;
      const int source = sources[static_cast<std::size_t>(at)];
      raster::Pixel expected = Encoded(1, x, y);
      if (source != kOld) {
        expected = c.Axis == TAxis::Columns ? Encoded(2, source, y) : Encoded(2, x, source);
      }
      expected = Shaded(expected, shades[static_cast<std::size_t>(at)]);
      ASSERT_EQ(display.pixel(x, y), expected) << "pixel (" << x << ", " << y << ")";
    }
  }
}

// At 20 × 12, X = MulDiv(20, P, 100) and the unroll band is W div 10 = 2 wide; at 12 × 20 the same
// holds for Y and rows. The frame starts out black, so a style that draws every pixel itself must
// also put back the start where it shows. A stretch gives destination step i the source step
// floor((2i + 1) × source / destination).
const TCase kCases[] = {
    // 12: X = 7, so X div 2 = 3 columns each side.
    {12, 20, 12, 35, TAxis::Columns, "0..2 .*14 17..19", ""},
    // 13: X = 10; the halves squeeze 10 columns into 5, taking every second from the first odd.
    {13, 20, 12, 50, TAxis::Columns, "1..9/2 .*10 11..19/2", ""},
    // 13 with an odd width: X = 21 at 99, halves of 10 columns, and column 20 never shows.
    {13, 21, 12, 99, TAxis::Columns, "0..9 . 10..19", ""},
    // 13 at 9 × 12 (Y = 6, X = 5): halves of 2 columns from 4; the middle keeps the start.
    {13, 9, 12, 50, TAxis::Columns, "1 3 .*5 5 7", ""},
    // 14: X = 10, R = 2: the band mirrors columns 12 and 13 into 11 and 10 and is shaded -64, 0.
    {14, 20, 12, 50, TAxis::Columns, "0..9 13 12 .*8", "0*10 -64 0 0*8"},
    // 14: X = 1 < R, so R = 1: a band of one column, drawn but not shaded.
    {14, 20, 12, 5, TAxis::Columns, "0 2 .*18", ""},
    // 14: X = 16, W - X = 4 = 2R: the band keeps its width and reaches the far edge.
    {14, 20, 12, 80, TAxis::Columns, "0..15 19 18 . .", "0*16 -64 0 0 0"},
    // 14: X = 18, W - X = 2 < 2R: R = 1.
    {14, 20, 12, 90, TAxis::Columns, "0..17 19 .", ""},
    // 15: X = 10, R = 2: band at columns 8 and 9 from new columns 6 and 5.
    {15, 20, 12, 50, TAxis::Columns, ".*8 6 5 10..19", "0*8 -64 0 0*10"},
    // 15: X = 16: the band's source starts at column -1, so its right column keeps the start.
    {15, 20, 12, 80, TAxis::Columns, ". . 0 . 4..19", "0 0 -64 0 0*16"},
    // 15: X = 18, R = 1: the band's only column would come from column -1.
    {15, 20, 12, 90, TAxis::Columns, ". . 2..19", ""},
    // 16: X = 10: the strip of min(10, 2) columns after the reached part fills the rest.
    {16, 20, 12, 50, TAxis::Columns, "0..9 10*5 11*5", ""},
    // 16: X = 19: the strip is the one remaining column at natural size.
    {16, 20, 12, 95, TAxis::Columns, "0..19", ""},
    // 16 and 17 at 9 × 12 (X = 5): W div 10 = 0, an empty strip; the rest keeps the start.
    {16, 9, 12, 50, TAxis::Columns, "0..4 .*4", ""},
    {17, 9, 12, 50, TAxis::Columns, ".*4 4..8", ""},
    // 17: X = 10, S = 8: columns 8 and 9 stretched over the left half.
    {17, 20, 12, 50, TAxis::Columns, "8*5 9*5 10..19", ""},
    // 17: X = 19, S = -1 raised to 0.
    {17, 20, 12, 95, TAxis::Columns, "0..19", ""},
    // 29: Y = 7, 3 rows each side.
    {29, 12, 20, 35, TAxis::Rows, "0..2 .*14 17..19", ""},
    // 30: Y = 10; 10 rows squeezed into 5 each side.
    {30, 12, 20, 50, TAxis::Rows, "1..9/2 .*10 11..19/2", ""},
    // 31: Y = 10, R = 2; the rows are shaded from the band's bottom row up: -64, then -128.
    {31, 12, 20, 50, TAxis::Rows, "0..9 13 12 .*8", "0*10 -128 -64 0*8"},
    // 32: Y = 10, R = 2: band at rows 8 and 9 from new rows 6 and 5.
    {32, 12, 20, 50, TAxis::Rows, ".*8 6 5 10..19", "0*8 -128 -64 0*10"},
    // 32: Y = 16: the band's bottom row would come from row -1 and keeps the start, shaded.
    {32, 12, 20, 80, TAxis::Rows, ". . 0 . 4..19", "0 0 -128 -64 0*16"},
    // 33: Y = 10: rows 10 and 11 stretched over the bottom half.
    {33, 12, 20, 50, TAxis::Rows, "0..9 10*5 11*5", ""},
    // 34: Y = 10, S = 8.
    {34, 12, 20, 50, TAxis::Rows, "8*5 9*5 10..19", ""},
    // 14 at 400 wide, X = 200: R = 40, new columns 240 to 279 mirrored into 200 to 239, shaded
    // from -64 up by 3 to -4 in the band's middle column and back down to -61.
    {14, 400, 2, 50, TAxis::Columns, "0..199 279..240 .*160", "0*200 -64..-4/3 -7..-61/3 0*160"},
    // 14 at 400 wide, X = 380: W - X = 20 < 2 × 40, so R = 10; Half = 5 gives Step = 12.
    {14, 400, 2, 95, TAxis::Columns, "0..379 399..390 .*10", "0*380 -64..-4/12 -16..-52/12 0*10"},
    // 14 at 2000 wide: R = 200, Half = 100 >= Depth: one step a column, up to +35 (the new
    // picture's bright blue clamps at 255), then down to -65.
    {14, 2000, 1, 50, TAxis::Columns, "0..999 1399..1200 .*800", "0*1000 -64..35 34..-65 0*800"},
    // 14 at 2560 wide: R = 256, Half = 128, so Every = 2: the shade steps every second column.
    {14, 2560, 1, 50, TAxis::Columns, "0..1279 1791..1536 .*1024",
     "0*1280 -64..-1*2 -2..-65*2 0*1024"},
    // 31 at 400 high, Y = 200: the rows' profile, walked from the band's bottom row, peaks at -7
    // in its 20th row from the bottom and ends at -67.
    {31, 2, 400, 50, TAxis::Rows, "0..199 279..240 .*160", "0*200 -67..-10/3 -7..-64/3 0*160"},
    // 31 at 2000 high: R = 200; from the band's bottom row -64 up to +35 and down to -65.
    {31, 1, 2000, 50, TAxis::Rows, "0..999 1399..1200 .*800", "0*1000 -65..34 35..-64 0*800"},
};

TEST(SplitWipesTest, DrawsEachFrameFromItsCopiesAndShades) {
  for (const TCase& c : kCases) {
    SCOPED_TRACE("style " + std::to_string(c.Style) + ", " + std::to_string(c.W) + " x " +
                 std::to_string(c.H) + " at " + std::to_string(c.Progress));
    ExpectFrame(c);
  }
}

}  // namespace
}  // namespace pavona::effects
