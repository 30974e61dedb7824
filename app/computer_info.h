// TComputerInfoEx and its TSystemFolders: where the host keeps its folders. The viewer reads only
// the temporary-files folder, which is looked up afresh at every read:
// "TMP", then "TEMP", then "TMPDIR" (the first that is set and not empty), else the current
// folder; then its canonical form when that path exists; then one trailing separator removed
// unless TrailingPathDelimiter is set. Values are used unexpanded.
#pragma once

#include <memory>
#include <string>

namespace pavona::app {

class TSystemFolders {
 public:
  bool TrailingPathDelimiter = false;
  std::string Temp() const;
};

class TComputerInfoEx {
 public:
  // Made on first use and kept.
  TSystemFolders& Folders();

 private:
  std::unique_ptr<TSystemFolders> FFolders;
};

}  // namespace pavona::app
