// A file that replaces its target only once it is complete: written under a temporary name
// beside the target, created exclusively (never through a symbolic link), renamed over the
// target by Commit, and removed if it is never committed. A failed write therefore never
// destroys an older file of the target's name.
#pragma once

#include <optional>
#include <string>

#include "platform/stream.h"

namespace pavona::platform {

class TReplacingFile {
 public:
  // Raises EStreamError (Create, target) when no temporary file can be made beside the target.
  explicit TReplacingFile(std::string target);
  ~TReplacingFile();
  TReplacingFile(const TReplacingFile&) = delete;
  TReplacingFile& operator=(const TReplacingFile&) = delete;

  TStream& Stream() { return *FStream; }
  const std::string& TemporaryPath() const { return FTemporary; }

  // Closes the file and renames it over the target, which a symbolic link of that name does not
  // redirect. Raises EStreamError (Create, target) when the rename fails.
  void Commit();

 private:
  std::string FTarget;
  std::string FTemporary;
  std::optional<TFileStream> FStream;
  bool FCommitted = false;
};

}  // namespace pavona::platform
