// The contract between the transition driver and the effect procedures, and the table type that
// maps style numbers to them.
//
// An effect draws one frame of a transition into Display, from the progress alone:
// - it is called once per frame with 0 < Progress < 100; the frames at 0 and 100 are the plain
//   starting and new pictures and never reach it;
// - on entry Display holds a fresh copy of the starting picture; Image is the new picture; both
//   are W × H, 32 bits a pixel, rows bottom-up, without a clip and at origin (0, 0);
// - it draws into Display only (it may read Display as a source) and leaves it without a clip;
// - it may run on the frame-timer thread with the control's lock and the bitmaps' locks held, so
//   it must not touch the control or the user interface.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "raster/bitmap.h"
#include "slideview/mul_div.h"

namespace pavona::slideview {

using TShowStyle = std::uint8_t;  // 0 = custom drawing, 1 to 176 = a row of the effect table
constexpr TShowStyle kMaxStyle = 176;

using TEffectProc = void (*)(raster::Bitmap& Display, const raster::Bitmap& Image, std::int32_t W,
                             std::int32_t H, std::int32_t X, std::int32_t Y, std::int32_t Progress);

struct TEffect {
  const char* Name;
  TEffectProc Proc;  // null while the style's effect is not built: its frames show the start
};

// Row i - 1 is style i.
using TEffectTable = std::span<const TEffect>;

// Whether two texts are equal ignoring the case of ASCII letters.
bool SameText(const std::string& a, const char* b);
// The style whose name is the text, ignoring case; the first row with the name wins.
std::optional<TShowStyle> FindStyle(TEffectTable table, const std::string& name);

// The point (X, Y) that moves along the picture's diagonal with the progress, keeping its aspect.
struct TEffectPoint {
  std::int32_t X;
  std::int32_t Y;
};

constexpr TEffectPoint EffectPoint(std::int32_t W, std::int32_t H, std::int32_t Progress) {
  if (H > W) {
    const std::int32_t y = MulDiv(H, Progress, 100);
    return {MulDiv(y, W, H), y};
  }
  const std::int32_t x = MulDiv(W, Progress, 100);
  return {x, MulDiv(x, H, W)};
}

}  // namespace pavona::slideview
