// Splits arbitrary bytes as comma text, and checks both directions of the round trip: the items
// read from any text are written as text that reads back as the same items, and so are the
// items got by cutting the input at its zero bytes (which comma text cannot hold).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "settings/comma_text.h"

using pavona::settings::MakeCommaText;
using pavona::settings::SplitCommaText;

namespace {

void CheckRoundTrip(const std::vector<std::string>& items) {
  if (SplitCommaText(MakeCommaText(items)) != items) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckRoundTrip(SplitCommaText(text));
  std::vector<std::string> pieces;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\0', start)) != std::string_view::npos; start = end + 1) {
    pieces.emplace_back(text.substr(start, end - start));
  }
  pieces.emplace_back(text.substr(start));
  CheckRoundTrip(pieces);
  return 0;
}
