// File services the platform layer does not offer yet, written on std::filesystem.
#pragma once

#include <string>

namespace pavona::package {

// Replaces `to` by `from` in one step (a link named `to` is replaced, never followed). Raises the
// file-create error "Cannot create file "to". reason" on failure.
void RenameFile(const std::string& from, const std::string& to);

}  // namespace pavona::package
