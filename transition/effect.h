// The contract between the transition driver and the effect procedures, and the table type that
// maps style numbers to them.
//
// An effect draws one frame of a transition into Display, from the progress alone:
// - it is called once per frame with 0 < Progress < 100; the frames at 0 and 100 are the plain
//   starting and new pictures and never reach it;
// - on entry Display holds a fresh copy of the starting picture, unless its row says it draws
//   every pixel; Start is the starting picture and Image the new one; all are W × H, 32 bits a
//   pixel, rows bottom-up, without a clip and at origin (0, 0);
// - it draws into Display only (it may read Display as a source) and leaves it without a clip;
// - a seeded row's effect finds RandomSeed set to the transition's seed; it never seeds itself;
// - it may run on the frame-timer thread with the control's lock and the bitmaps' locks held, so
//   it must not touch the control or the user interface.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "raster/bitmap.h"
#include "transition/mul_div.h"

namespace pavona::transition {

using TShowStyle = std::uint8_t;  // 0 = custom drawing, 1 to 176 = a row of the effect table
constexpr TShowStyle kMaxStyle = 176;

// What one call of an effect procedure is handed. Display, Image and Start are W × H.
struct TEffectFrame {
  raster::Bitmap& Display;      // the frame being composed
  const raster::Bitmap& Image;  // the new picture
  // The picture the transition starts from, read only. For a row that does not draw every pixel
  // Display also holds a fresh copy of it on entry; for one that does, Display holds anything.
  const raster::Bitmap& Start;
  std::int32_t W;
  std::int32_t H;
  std::int32_t X;  // the progress applied to the width (EffectPoint)
  std::int32_t Y;  // the progress applied to the height
  std::int32_t Progress;  // 1 to 99
};

// The one type of every effect procedure: declare them as `TEffectProc Name;`.
using TEffectProc = void(const TEffectFrame& Frame);

// What a row promises about its effect, or-ed together.
enum TEffectFlags : std::uint8_t {
  efNone = 0,
  // The effect draws from NextRandom with the transition's own seed: the frame routine sets
  // RandomSeed to it for the call and restores the caller's seed afterwards.
  efSeeded = 1,
  // The effect writes every pixel of Display and reads the starting picture from Start only, so
  // the frame routine does not refill Display first.
  efDrawsEveryPixel = 2,
};

struct TEffect {
  // A row names its procedure by reference, so a row without one does not compile.
  constexpr TEffect(const char* name, TEffectProc& proc, std::uint8_t flags = efNone)
      : Name(name), Proc(&proc), Flags(flags) {}

  const char* Name;
  TEffectProc* Proc;
  std::uint8_t Flags;

  constexpr bool Seeded() const { return (Flags & efSeeded) != 0; }
  constexpr bool DrawsEveryPixel() const { return (Flags & efDrawsEveryPixel) != 0; }
};

// Row i - 1 is style i.
using TEffectTable = std::span<const TEffect>;

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

}  // namespace pavona::transition
