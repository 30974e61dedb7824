#include "platform/replacing_file.h"

#include <random>

#include "platform/files.h"

namespace pavona::platform {

TReplacingFile::TReplacingFile(std::string target) : FTarget(std::move(target)) {
  const std::string folder = FolderOf(FTarget);
  std::random_device random;
  for (int attempt = 0;; ++attempt) {
    FTemporary = JoinPath(folder.empty() ? "." : folder,
                          "." + FileNameOf(FTarget) + "." + std::to_string(random() % 100000000u) +
                              ".part");
    try {
      FStream.emplace(FTemporary, FileMode::CreateNew);
      return;
    } catch (const EStreamError& e) {
      // A name that is taken is skipped; any other failure is the target's own.
      if (attempt < 99 && PathExists(FTemporary)) continue;
      throw EStreamError(TStreamFailure::Create, FTarget, e.Reason());
    }
  }
}

TReplacingFile::~TReplacingFile() {
  if (FCommitted) return;
  FStream.reset();
  RemoveFile(FTemporary);
}

void TReplacingFile::Commit() {
  FStream.reset();
  std::string reason;
  if (!RenameFile(FTemporary, FTarget, &reason)) {
    throw EStreamError(TStreamFailure::Create, FTarget, reason);
  }
  FCommitted = true;
}

}  // namespace pavona::platform
