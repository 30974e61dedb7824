// The host's font files, for drawing text with a font library. The host's font configuration
// service is used when it is installed (loaded at run time, so programs gain no library
// dependency); otherwise the usual font folders are searched.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pavona::platform {

// Paths of the scalable font files the host offers (TrueType, OpenType and collections).
std::vector<std::string> ListFontFiles();

// The host's best substitute for a family in the given weight (100 to 900, 400 regular) and
// slant, as its font configuration chooses it; nothing when there is no such service.
std::optional<std::string> MatchFontFile(const std::string& family, int weight, bool italic);

}  // namespace pavona::platform
