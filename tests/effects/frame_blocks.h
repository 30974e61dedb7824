// Expected frames spelt out by hand: as a few blocks over the starting picture, each naming the
// picture its pixels come from and, per column and per row of the block, the source column and
// row (stretched, moved and in-place blocks); or, for reveals in place, as the set of pixels
// that show the new picture.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "raster/geometry.h"
#include "tests/effects/effect_frames.h"

namespace pavona::effects::testing {

struct TBlock {
  char Picture;                // 'o' old or 'n' new
  raster::Rect Area;           // the frame pixels the block covers
  std::vector<int> Columns;    // source column of each column of Area; empty: in place
  std::vector<int> Rows;       // source row of each row of Area; empty: in place
};

// first, first + step, … : count source lines.
inline std::vector<int> Seq(int first, int count, int step = 1) {
  std::vector<int> lines;
  for (int i = 0; i < count; ++i) lines.push_back(first + i * step);
  return lines;
}

// first, first, … (each times), first + 1, … : count source lines, each repeated.
inline std::vector<int> Repeat(int first, int count, int each) {
  std::vector<int> lines;
  for (int i = 0; i < count; ++i) {
    lines.insert(lines.end(), static_cast<std::size_t>(each), first + i);
  }
  return lines;
}

// Later blocks cover earlier ones; pixels outside every block keep the old picture in place.
inline TSource Expected(const std::vector<TBlock>& blocks, int x, int y) {
  TSource source{'o', x, y};
  for (const TBlock& b : blocks) {
    if (!b.Area.contains(x, y)) continue;
    const int i = x - b.Area.Left, j = y - b.Area.Top;
    source = {b.Picture, b.Columns.empty() ? x : b.Columns.at(static_cast<std::size_t>(i)),
              b.Rows.empty() ? y : b.Rows.at(static_cast<std::size_t>(j))};
  }
  return source;
}

// Every pixel of frame against the blocks; names the first few pixels that differ.
inline ::testing::AssertionResult MatchesBlocks(const raster::Bitmap& frame,
                                                const std::vector<TBlock>& blocks) {
  int wrong = 0;
  std::string report;
  for (int y = 0; y < frame.height(); ++y) {
    for (int x = 0; x < frame.width(); ++x) {
      const TSource want = Expected(blocks, x, y);
      const TSource got = SourceOf(frame.pixel(x, y));
      if (got.Picture == want.Picture && got.X == want.X && got.Y == want.Y) continue;
      if (++wrong <= 5) {
        report += " (" + std::to_string(x) + "," + std::to_string(y) + "): want " + want.Picture +
                  std::to_string(want.X) + "," + std::to_string(want.Y) + " got " + got.Picture +
                  std::to_string(got.X) + "," + std::to_string(got.Y) + ";";
      }
    }
  }
  if (wrong == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << wrong << " pixels differ:" << report;
}

// Reveals: every pixel is the new picture's own where isNew holds, else the old picture's own.
inline ::testing::AssertionResult MatchesReveal(const raster::Bitmap& frame,
                                                bool (*isNew)(int x, int y)) {
  int wrong = 0;
  std::string report;
  for (int y = 0; y < frame.height(); ++y) {
    for (int x = 0; x < frame.width(); ++x) {
      const TSource got = SourceOf(frame.pixel(x, y));
      const char want = isNew(x, y) ? 'n' : 'o';
      if (got.Picture == want && got.X == x && got.Y == y) continue;
      if (++wrong <= 5) {
        report += " (" + std::to_string(x) + "," + std::to_string(y) + "): want " + want +
                  " got " + got.Picture + std::to_string(got.X) + "," + std::to_string(got.Y) + ";";
      }
    }
  }
  if (wrong == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << wrong << " pixels differ:" << report;
}

}  // namespace pavona::effects::testing
