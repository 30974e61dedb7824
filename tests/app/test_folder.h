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
    path_ = (std::filesystem::temp_directory_path() /
             ("pavona-app-test-" + std::to_string(random()) + std::to_string(random())))
                .string();
    std::filesystem::create_directories(path_);
    path_ = platform::CanonicalPath(path_);
  }
  ~ScratchFolder() { platform::RemoveTree(path_); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Sets or clears variables for one test; the destructor restores the old values.
class EnvironmentGuard {
 public:
  ~EnvironmentGuard() {
    for (const auto& [name, value] : saved_) platform::SetEnvironmentValue(name, value);
  }
  void Set(const std::string& name, const std::optional<std::string>& value) {
    if (saved_.find(name) == saved_.end()) saved_[name] = platform::EnvironmentValue(name);
    platform::SetEnvironmentValue(name, value);
  }

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};

}  // namespace pavona::app::testing
