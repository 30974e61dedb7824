// The `pavona` tool: builds shows from pictures and inspects them.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <map>
#include <string>
#include <vector>

#include "tools/command.h"

namespace pavona::tools {

namespace {

std::map<std::string, Command>& Registry() {
  static std::map<std::string, Command> commands;
  return commands;
}

void PrintHelp(std::FILE* out) {
  std::fprintf(out, "usage: pavona COMMAND [ARGUMENTS]\n\ncommands:\n");
  for (const auto& [name, command] : Registry()) {
    std::fprintf(out, "  %-8s %s\n", name.c_str(), command.summary);
  }
  std::fprintf(out,
               "\n'pavona help COMMAND' explains a command and its options; "
               "'pavona --version' prints the version.\n");
}

}  // namespace

bool RegisterCommand(const Command& command) {
  Registry().emplace(command.name, command);
  return true;
}

}  // namespace pavona::tools

int main(int argc, char** argv) {
  using namespace pavona::tools;
  std::vector<std::string> args(argv + std::min(argc, 2), argv + argc);
  const std::string name = argc >= 2 ? argv[1] : "";
  if (name == "--version" || name == "-V") {
    std::printf("pavona %s\n", PAVONA_VERSION);
    return kExitOk;
  }
  if (name.empty() || name == "help" || name == "--help" || name == "-h") {
    if (name == "help" && !args.empty()) {
      auto it = Registry().find(args[0]);
      if (it == Registry().end()) {
        std::fprintf(stderr, "pavona help: unknown command '%s'\n", args[0].c_str());
        PrintHelp(stderr);
        return kExitError;
      }
      std::printf("usage: pavona %s %s\n\n%s.\n", it->first.c_str(), it->second.usage,
                  it->second.summary);
      if (*it->second.help != '\0') std::printf("\n%s", it->second.help);
      return kExitOk;
    }
    PrintHelp(name.empty() ? stderr : stdout);
    return name.empty() ? kExitError : kExitOk;
  }
  auto it = Registry().find(name);
  if (it == Registry().end()) {
    std::fprintf(stderr, "pavona: unknown command '%s'\n", name.c_str());
    PrintHelp(stderr);
    return kExitError;
  }
  try {
    return it->second.run(args);
  } catch (const UsageError& e) {
    std::fprintf(stderr, "pavona %s: %s\nusage: pavona %s %s\n", name.c_str(), e.message.c_str(),
                 name.c_str(), it->second.usage);
    return kExitError;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "pavona %s: %s\n", name.c_str(), e.what());
    return kExitError;
  }
}
