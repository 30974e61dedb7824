// The arithmetic of a transition's progress: how Step is stored, how far one frame moves, and
// where the progress goes next. Kept apart from the control so the command-line renderer walks
// the same sequence the viewer shows.
#pragma once

#include <cstdint>

#include "transition/mul_div.h"

namespace pavona::transition {

using TPercent = std::uint8_t;  // 0 to 100

// 0 is stored as 1, 1 to 100 unchanged, anything above 100 as 99.
constexpr std::uint16_t ClampStep(std::uint32_t value) {
  if (value == 0) return 1;
  if (value > 100) return 99;
  return static_cast<std::uint16_t>(value);
}

// With exact timing a step is scaled by the time that really passed against the nominal delay.
constexpr std::int32_t ExactStep(std::uint16_t step, std::uint32_t elapsedMs, std::uint16_t delayMs) {
  return MulDiv(step, static_cast<std::int32_t>(elapsedMs), delayMs);
}

// The progress after one step: forward up to 100, in reverse down to 0. The comparisons are
// signed, so a step of −1 (MulDiv's overflow answer) never runs past either end.
constexpr TPercent NextProgress(std::int32_t progress, std::int32_t step, bool reverse) {
  if (!reverse) return static_cast<TPercent>(progress < 100 - step ? progress + step : 100);
  return static_cast<TPercent>(step < progress ? progress - step : 0);
}

constexpr TPercent StartProgress(bool reverse) { return reverse ? 100 : 0; }
constexpr TPercent EndProgress(bool reverse) { return reverse ? 0 : 100; }

}  // namespace pavona::transition
