// Making a show, shared by `pavona pack` and `pavona play`.
#pragma once

#include <string>
#include <vector>

namespace pavona::tools {

// Runs `pack` with its command-line arguments (after the command name); returns its exit code.
// Raises UsageError for a bad command line and std::exception for input that cannot be used.
int PackShow(const std::vector<std::string>& args);

}  // namespace pavona::tools
