// `pavona extract ARCHIVE DIR`: unpacks a ZIP file or a show into DIR exactly as the player
// does (flat, later entries of the same name win) and names every entry that failed.
#include <cstdio>
#include <string>
#include <vector>

#include "package/package_extract.h"
#include "platform/files.h"
#include "tools/command.h"

namespace pavona::tools {

namespace {

int Run(const std::vector<std::string>& args) {
  if (args.size() != 2) throw UsageError{"expected ARCHIVE and DIR"};
  const std::string& folder = args[1];
  // The player makes its working folder before extracting; so does this command.
  if (!platform::PathExists(folder)) platform::CreateDirectories(folder);
  int failures = 0;
  package::ExtractPackage(args[0], folder,
                          [&failures](const package::TArchiveItem& item, const std::string& message) {
                            ++failures;
                            std::fprintf(stderr, "%s: %s\n", item.FFileName.c_str(), message.c_str());
                          });
  return failures == 0 ? kExitOk : kExitPartial;
}

}  // namespace

constexpr const char* kHelp =
    R"(Unpacks ARCHIVE into DIR exactly as the player unpacks a show into its working folder:
flat (folders in entry names are dropped), a later entry of the same name replacing an earlier
one. DIR is made when missing. Each entry that fails is named on standard error and the exit
code is then 1. There are no options.

Example:
  pavona extract holiday.show holiday-files
)";

PAVONA_COMMAND("extract", "ARCHIVE DIR",
                "extract a ZIP file or show into DIR as the player does; exit 1 if entries failed",
                &Run, kHelp);

}  // namespace pavona::tools
