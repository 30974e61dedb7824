// The transition a show asks for in its "Style" setting: one style for every slide, given by
// number (1 to 176) or by name, or "random", a fresh style at each slide change. Anything else
// (missing, empty, unknown) means the fade every show had before the setting existed.
#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <string>

#include "transition/effect.h"

namespace pavona::transition {

inline constexpr TShowStyle kDefaultStyle = 119;  // the fade
inline constexpr const char* kRandomStyleText = "random";

struct TStyleChoice {
  bool Random = false;
  TShowStyle Style = kDefaultStyle;  // when not Random

  // The setting's text that reads back as this choice: the number, or "random".
  std::string Text() const;
  bool operator==(const TStyleChoice&) const = default;
};

// A number 1 to 176 (decimal digits only), a style name or "random" (ASCII case ignored);
// nothing for any other text.
std::optional<TStyleChoice> ParseStyleChoice(TEffectTable table, const std::string& text);

// The styles shown one slide after another. A random choice never gives the same style twice
// in a row.
class TStyleSequence {
 public:
  explicit TStyleSequence(TStyleChoice choice = {}, std::uint32_t seed = 0);
  TShowStyle Next();
  const TStyleChoice& Choice() const { return FChoice; }

 private:
  TStyleChoice FChoice;
  std::mt19937 FRandom;
  TShowStyle FLast = 0;
};

}  // namespace pavona::transition
