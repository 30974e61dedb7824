#include "app/computer_info.h"

#include "platform/files.h"

namespace pavona::app {

std::string TSystemFolders::Temp() const {
  std::string value;
  for (const char* name : {"TMP", "TEMP", "TMPDIR"}) {
    const std::optional<std::string> found = platform::EnvironmentValue(name);
    if (found && !found->empty()) {
      value = *found;
      break;
    }
  }
  if (value.empty()) value = platform::CurrentDirectory();
  if (!value.empty() && platform::PathExists(value)) value = platform::CanonicalPath(value);
  const char separator = platform::PathSeparator();
  if (TrailingPathDelimiter) {
    if (value.empty() || value.back() != separator) value += separator;
  } else if (!value.empty() && value.back() == separator) {
    value.pop_back();
  }
  return value;
}

TSystemFolders& TComputerInfoEx::Folders() {
  if (!FFolders) FFolders = std::make_unique<TSystemFolders>();
  return *FFolders;
}

}  // namespace pavona::app
