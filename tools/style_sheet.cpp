#include "tools/style_sheet.h"

#include <algorithm>
#include <string>

#include "transition/frame_renderer.h"
#include "transition/random.h"

namespace pavona::tools {

namespace {

constexpr raster::Pixel kWhite = raster::MakePixel(255, 255, 255);
constexpr raster::Pixel kBlack = raster::MakePixel(0, 0, 0);

// Digits 0 to 9, five rows of three bits each, the high bit on the left.
constexpr std::uint8_t kDigits[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 1, 1}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};

void FillRect(raster::Bitmap& target, int left, int top, int width, int height,
              raster::Pixel colour) {
  for (int y = std::max(top, 0); y < std::min(top + height, target.height()); ++y) {
    for (int x = std::max(left, 0); x < std::min(left + width, target.width()); ++x) {
      target.set_pixel(x, y, colour);
    }
  }
}

// Flat colours and plain shapes, so that every effect's geometry shows and the sheet stays a
// small PNG: the old picture a blue field with a pale disc, the new one an orange field with a
// dark bar and a white square.
raster::Bitmap OldPicture() {
  raster::Bitmap bitmap(kSheetCellWidth, kSheetCellHeight);
  bitmap.fill(raster::MakePixel(30, 60, 140));
  const int cx = kSheetCellWidth / 2;
  const int cy = kSheetCellHeight / 2;
  const int r = kSheetCellHeight / 3;
  for (int y = 0; y < kSheetCellHeight; ++y) {
    for (int x = 0; x < kSheetCellWidth; ++x) {
      if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r) {
        bitmap.set_pixel(x, y, raster::MakePixel(150, 190, 240));
      }
    }
  }
  return bitmap;
}

raster::Bitmap NewPicture() {
  raster::Bitmap bitmap(kSheetCellWidth, kSheetCellHeight);
  bitmap.fill(raster::MakePixel(240, 140, 30));
  FillRect(bitmap, 0, kSheetCellHeight * 3 / 4, kSheetCellWidth, kSheetCellHeight / 4,
           raster::MakePixel(120, 40, 20));
  FillRect(bitmap, kSheetCellWidth * 5 / 8, kSheetCellHeight / 6, kSheetCellWidth / 4,
           kSheetCellWidth / 4, kWhite);
  return bitmap;
}

}  // namespace

void DrawNumberLabel(raster::Bitmap& target, int x, int y, unsigned number, int scale) {
  const std::string digits = std::to_string(number);
  const int width = static_cast<int>(digits.size()) * 4 * scale + scale;
  FillRect(target, x, y, width, 7 * scale, kBlack);
  for (std::size_t d = 0; d < digits.size(); ++d) {
    const std::uint8_t* rows = kDigits[digits[d] - '0'];
    const int left = x + scale + static_cast<int>(d) * 4 * scale;
    for (int row = 0; row < 5; ++row) {
      for (int column = 0; column < 3; ++column) {
        if (rows[row] & (4 >> column)) {
          FillRect(target, left + column * scale, y + scale + row * scale, scale, scale, kWhite);
        }
      }
    }
  }
}

raster::Bitmap DrawStyleSheet(transition::TEffectTable effects, transition::TPercent progress,
                              std::uint32_t seed) {
  const int count = static_cast<int>(effects.size());
  const int rows = (count + kSheetColumns - 1) / kSheetColumns;
  raster::Bitmap sheet(kSheetColumns * kSheetCellWidth, rows * kSheetCellHeight);
  const raster::Bitmap oldPic = OldPicture();
  const raster::Bitmap pic = NewPicture();
  raster::Bitmap cell(kSheetCellWidth, kSheetCellHeight);
  for (int i = 0; i < count; ++i) {
    transition::RandomSeed = seed;
    transition::ComposeFrame(cell, oldPic, pic, static_cast<transition::TShowStyle>(i + 1),
                             progress, effects, seed);
    const unsigned style = static_cast<unsigned>(i + 1);
    DrawNumberLabel(cell, 0, 0, style, 2);
    const int left = (i % kSheetColumns) * kSheetCellWidth;
    const int top = (i / kSheetColumns) * kSheetCellHeight;
    for (int y = 0; y < kSheetCellHeight; ++y) {
      std::copy(cell.scanline(y), cell.scanline(y) + kSheetCellWidth,
                sheet.scanline(top + y) + left);
    }
  }
  return sheet;
}

}  // namespace pavona::tools
