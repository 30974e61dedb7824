// A contact sheet of every transition style at one progress value: one cell per style, left to
// right and top to bottom, each labelled with its style number.
#pragma once

#include <cstdint>

#include "raster/bitmap.h"
#include "transition/effect.h"
#include "transition/progress_step.h"

namespace pavona::tools {

inline constexpr int kSheetColumns = 16;
inline constexpr int kSheetCellWidth = 96;
inline constexpr int kSheetCellHeight = 64;

// The sheet of all styles of the table, drawn from a built-in old picture to a built-in new one.
raster::Bitmap DrawStyleSheet(transition::TEffectTable effects, transition::TPercent progress,
                              std::uint32_t seed);

// Writes the number in a 3 × 5 digit font scaled by scale, on a black box, with its top left
// corner at (x, y).
void DrawNumberLabel(raster::Bitmap& target, int x, int y, unsigned number, int scale);

}  // namespace pavona::tools
