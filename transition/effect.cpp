#include "transition/effect.h"

#include "base/ascii.h"

namespace pavona::transition {

std::optional<TShowStyle> FindStyle(TEffectTable table, const std::string& name) {
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (base::SameAsciiText(name, table[i].Name)) return static_cast<TShowStyle>(i + 1);
  }
  return std::nullopt;
}

}  // namespace pavona::transition
