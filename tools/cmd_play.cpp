// `pavona play`: plays pictures straight away: packs them as `pack` would into a private
// temporary show, runs it, and deletes it when it ends.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/process.h"
#include "tools/command.h"
#include "tools/pack_show.h"
#include "tools/scratch_folder.h"

namespace pavona::tools {

namespace {

int Run(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--") break;
    if (arg == "-o" || arg == "--output") throw UsageError{"play keeps no show; use pack for that"};
  }
  TScratchFolder folder;
  const std::string show = platform::JoinPath(folder.Path(), "show");
  std::vector<std::string> packArgs = {"-o", show};
  packArgs.insert(packArgs.end(), args.begin(), args.end());
  const int packed = PackShow(packArgs);
  if (packed != kExitOk) return packed;
  const int played = platform::RunProgram(show);
  if (played < 0) {
    std::fprintf(stderr, "pavona play: cannot run the show (is the temporary folder mounted "
                         "noexec?)\n");
    return kExitError;
  }
  return played;
}

constexpr const char* kHelp =
    R"(Packs the pictures into a temporary show exactly as 'pack' does, plays it, and deletes it
when the player ends. It takes every option of 'pack' except -o; the exit code is the player's.

Examples:
  pavona play photos/
  pavona play --style random --seconds 3 --fit 1920x1080 holiday/
)";

}  // namespace

PAVONA_COMMAND("play",
               "[--no-loop] [--seconds N] [--sound FILE] [--style N|NAME|random] [--fit WxH] "
               "[--player PATH] PICTURE|FOLDER...",
               "play pictures straight away, without keeping a show file", &Run, kHelp);

}  // namespace pavona::tools
