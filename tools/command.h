// The commands of the `pavona` tool. Each lives in its own file cmd_<name>.cpp and registers
// itself with a static PAVONA_COMMAND(...) line, so adding a command touches no shared file.
#pragma once

#include <string>
#include <vector>

namespace pavona::tools {

// Exit codes shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitPartial = 1;  // the work ran, but some of it failed
inline constexpr int kExitError = 2;    // bad arguments or input that cannot be used

// A bad command line; the dispatcher prints the message and the command's usage and exits 2.
struct UsageError {
  std::string message;
};

using CommandFn = int (*)(const std::vector<std::string>& args);

struct Command {
  const char* name;
  const char* usage;    // the arguments after the command name
  const char* summary;  // one line for the help text
  CommandFn run;
  const char* help = "";  // `pavona help COMMAND`: every option explained, with examples
};

bool RegisterCommand(const Command& command);

}  // namespace pavona::tools

#define PAVONA_COMMAND_CAT2(a, b) a##b
#define PAVONA_COMMAND_CAT(a, b) PAVONA_COMMAND_CAT2(a, b)
#define PAVONA_COMMAND(...)                                                        \
  static const bool PAVONA_COMMAND_CAT(pavona_command_registered_, __LINE__) = \
      ::pavona::tools::RegisterCommand(::pavona::tools::Command{__VA_ARGS__})
