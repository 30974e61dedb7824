// Wildcard masks over entry names: "*" any run, "?" one character, ";" separates masks.
// Names and masks use "\" as the folder separator; ASCII letters compare without case.
#pragma once

#include <string>
#include <string_view>

namespace pavona::package {

// "*.*" and "*" match every non-empty text; an empty text matches only an empty pattern.
bool MatchPattern(std::string_view text, std::string_view pattern);
// The folder parts (up to the last "\" or ":") and the last components must match separately.
bool MatchFileMask(const std::string& name, const std::string& mask);
// name: the decoded entry name; isDirectory drops one trailing separator before matching.
bool MatchesStoredName(const std::string& name, bool isDirectory, const std::string& mask);
// Any of the ";"-separated masks, each trimmed; an empty list matches nothing.
bool MatchesStoredNameEx(const std::string& name, bool isDirectory, const std::string& masks);

}  // namespace pavona::package
