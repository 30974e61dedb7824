#include "transition/effect.h"

#include <cctype>

namespace pavona::transition {

bool SameText(const std::string& a, const char* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i] != '\0'; ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return i == a.size() && b[i] == '\0';
}

std::optional<TShowStyle> FindStyle(TEffectTable table, const std::string& name) {
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (SameText(name, table[i].Name)) return static_cast<TShowStyle>(i + 1);
  }
  return std::nullopt;
}

}  // namespace pavona::transition
