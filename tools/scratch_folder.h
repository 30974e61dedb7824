// A private temporary folder for one command's intermediate files, removed with everything in it.
#pragma once

#include <stdexcept>
#include <string>

#include "platform/files.h"

namespace pavona::tools {

class TScratchFolder {
 public:
  TScratchFolder() : FPath(platform::CreateTemporaryDirectory()) {
    if (FPath.empty()) throw std::runtime_error("cannot create a temporary folder");
  }
  ~TScratchFolder() { platform::RemoveTree(FPath); }
  TScratchFolder(const TScratchFolder&) = delete;
  TScratchFolder& operator=(const TScratchFolder&) = delete;
  const std::string& Path() const { return FPath; }

 private:
  std::string FPath;
};

}  // namespace pavona::tools
