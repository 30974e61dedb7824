// Test helpers: a scratch folder removed afterwards, and environment variables put back as they
// were.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <random>
#include <string>

#include "platform/files.h"

namespace pavona::app::testing {

class ScratchFolder {
 public:
  ScratchFolder() {
    std::random_device random;
    FPath = (std::filesystem::temp_directory_path() /
             ("pavona-app-test-" + std::to_string(random()) + std::to_string(random())))
                .string();
    std::filesystem::create_directories(FPath);
    FPath = platform::CanonicalPath(FPath);
  }
  ~ScratchFolder() { platform::RemoveTree(FPath); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& Path() const { return FPath; }
  std::string operator/(const std::string& name) const { return FPath + "/" + name; }

 private:
  std::string FPath;
};

// Sets or clears variables for one test; the destructor restores the old values.
class EnvironmentGuard {
 public:
  ~EnvironmentGuard() {
    for (const auto& [name, value] : FSaved) platform::SetEnvironmentValue(name, value);
  }
  void Set(const std::string& name, const std::optional<std::string>& value) {
    if (FSaved.find(name) == FSaved.end()) FSaved[name] = platform::EnvironmentValue(name);
    platform::SetEnvironmentValue(name, value);
  }

 private:
  std::map<std::string, std::optional<std::string>> FSaved;
};

}  // namespace pavona::app::testing
