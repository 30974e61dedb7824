// A private temporary folder for the whole fuzzing run, removed with its contents at exit.
#pragma once

#include <cstdlib>
#include <string>

#include "platform/files.h"

namespace pavona::fuzz {

inline const std::string& ScratchFolder() {
  struct TFolder {
    TFolder() : Path(platform::CreateTemporaryDirectory()) {
      if (Path.empty()) std::abort();
    }
    ~TFolder() { platform::RemoveTree(Path); }
    std::string Path;
  };
  static const TFolder folder;
  return folder.Path;
}

}  // namespace pavona::fuzz
