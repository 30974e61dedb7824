#include "transition/style_choice.h"

#include "base/ascii.h"

namespace pavona::transition {

std::string TStyleChoice::Text() const {
  return Random ? kRandomStyleText : std::to_string(Style);
}

std::optional<TStyleChoice> ParseStyleChoice(TEffectTable table, const std::string& text) {
  if (base::SameAsciiText(text, kRandomStyleText)) return TStyleChoice{true, kDefaultStyle};
  if (!text.empty() && text.size() <= 3 &&
      text.find_first_not_of("0123456789") == std::string::npos) {
    const int number = std::stoi(text);
    if (number >= 1 && static_cast<std::size_t>(number) <= table.size()) {
      return TStyleChoice{false, static_cast<TShowStyle>(number)};
    }
    return std::nullopt;
  }
  if (const auto style = FindStyle(table, text)) return TStyleChoice{false, *style};
  return std::nullopt;
}

TStyleSequence::TStyleSequence(TStyleChoice choice, std::uint32_t seed)
    : FChoice(choice), FRandom(seed) {}

TShowStyle TStyleSequence::Next() {
  if (!FChoice.Random) return FChoice.Style;
  // One of the styles other than the last: draw from one fewer and skip over the last.
  const std::uint32_t others = FLast == 0 ? kMaxStyle : kMaxStyle - 1;
  auto style = static_cast<TShowStyle>(
      std::uniform_int_distribution<std::uint32_t>(1, others)(FRandom));
  if (FLast != 0 && style >= FLast) ++style;
  FLast = style;
  return style;
}

}  // namespace pavona::transition
