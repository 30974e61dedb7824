// Comma text: a list of names in one line, as the slide list and the store's boolean words are
// written. Items are separated by "," or by blanks (any character from U+0001 to the space); an
// item holding a blank, a "," or a quote character is quoted, with inner quotes doubled.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pavona::settings {

// Splits text into its items, in order; duplicates and empty items stay. U+0000 ends the text.
std::vector<std::string> SplitCommaText(std::string_view text);
// The comma text that SplitCommaText reads back as exactly these items.
std::string MakeCommaText(const std::vector<std::string>& items);

}  // namespace pavona::settings
