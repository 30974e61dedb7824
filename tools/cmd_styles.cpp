// `pavona styles`: the transition styles, one line each: the number, a tab and the name.
#include <cstdio>
#include <string>
#include <vector>

#include "effects/effect_table.h"
#include "tools/command.h"

namespace pavona::tools {

namespace {

int Run(const std::vector<std::string>& args) {
  if (!args.empty()) throw UsageError{"unexpected argument '" + args[0] + "'"};
  for (std::size_t i = 0; i < effects::EffectTable.size(); ++i) {
    std::printf("%zu\t%s\n", i + 1, effects::EffectTable[i].Name);
  }
  return kExitOk;
}

}  // namespace

constexpr const char* kHelp =
    R"(Prints one line per style: its number, a tab and its name. Either may be given to
'pack --style' and 'render --style'. 'pavona render --sheet' draws them all.

Example:
  pavona styles | grep -i wipe
)";

PAVONA_COMMAND("styles", "", "lists the 176 transition styles", &Run, kHelp);

}  // namespace pavona::tools
