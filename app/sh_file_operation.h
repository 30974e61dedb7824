// TSHFileOperation: the silent recursive delete that removes the working folder at exit.
// Execute deletes every entry of SourceFiles with everything in it, never following symbolic
// links. On a shared machine it refuses an entry that is itself a symbolic link or belongs to
// another user: such an entry is left alone and the operation fails. Nothing is ever shown;
// the text of the last failure is kept in LastError.
#pragma once

#include <string>
#include <vector>

namespace pavona::app {

enum TFileOperation { foDelete };

enum TFileOperationOption : unsigned {
  fofNoConfirmation = 0x10,
  fofSilent = 0x4,
  fofNoErrorUI = 0x400,
};

class TSHFileOperation {
 public:
  std::vector<std::string> SourceFiles;
  std::vector<std::string> DestFiles;
  TFileOperation Operation = foDelete;
  unsigned Options = 0;
  std::string Title;

  // True when every entry was deleted.
  bool Execute();
  const std::string& LastError() const { return FLastError; }

 private:
  std::string FLastError;
};

}  // namespace pavona::app
