#include "platform/font_files.h"

#include "base/ascii.h"

#include <dirent.h>
#include <dlfcn.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace pavona::platform {

namespace {

// The few entry points of the font configuration library that we call, resolved by name.
struct FcFontSet {
  int nfont;
  int sfont;
  void** fonts;
};

class FontConfig {
 public:
  static FontConfig& Instance() {
    static FontConfig instance;
    return instance;
  }

  FontConfig(const FontConfig&) = delete;
  FontConfig& operator=(const FontConfig&) = delete;

  bool Available() const { return FConfig != nullptr; }

  std::vector<std::string> List() {
    std::lock_guard lock(FMutex);
    std::vector<std::string> files;
    void* pattern = FPatternCreate();
    void* objects = FObjectSetBuild("file", nullptr);
    if (pattern && objects) {
      if (FcFontSet* set = FFontList(FConfig, pattern, objects)) {
        for (int i = 0; i < set->nfont; ++i) {
          if (auto file = FileOf(set->fonts[i])) files.push_back(*file);
        }
        FFontSetDestroy(set);
      }
    }
    if (objects) FObjectSetDestroy(objects);
    if (pattern) FPatternDestroy(pattern);
    return files;
  }

  std::optional<std::string> Match(const std::string& family, int weight, bool italic) {
    std::lock_guard lock(FMutex);
    void* pattern = FPatternCreate();
    if (!pattern) return std::nullopt;
    FPatternAddString(pattern, "family", reinterpret_cast<const unsigned char*>(family.c_str()));
    // The configuration's own scale: 80 regular, 200 bold.
    FPatternAddInteger(pattern, "weight", weight >= 600 ? 200 : weight <= 300 ? 50 : 80);
    FPatternAddInteger(pattern, "slant", italic ? 100 : 0);
    FConfigSubstitute(FConfig, pattern, 0);
    FDefaultSubstitute(pattern);
    int result = 0;
    std::optional<std::string> file;
    if (void* match = FFontMatch(FConfig, pattern, &result)) {
      file = FileOf(match);
      FPatternDestroy(match);
    }
    FPatternDestroy(pattern);
    return file;
  }

 private:
  FontConfig() {
    FLibrary = ::dlopen("libfontconfig.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!FLibrary) return;
    const bool resolved = Resolve(FInit, "FcInitLoadConfigAndFonts") &&
                          Resolve(FConfigDestroy, "FcConfigDestroy") &&
                          Resolve(FPatternCreate, "FcPatternCreate") &&
                          Resolve(FPatternDestroy, "FcPatternDestroy") &&
                          Resolve(FPatternAddString, "FcPatternAddString") &&
                          Resolve(FPatternAddInteger, "FcPatternAddInteger") &&
                          Resolve(FPatternGetString, "FcPatternGetString") &&
                          Resolve(FConfigSubstitute, "FcConfigSubstitute") &&
                          Resolve(FDefaultSubstitute, "FcDefaultSubstitute") &&
                          Resolve(FFontMatch, "FcFontMatch") &&
                          Resolve(FObjectSetBuild, "FcObjectSetBuild") &&
                          Resolve(FObjectSetDestroy, "FcObjectSetDestroy") &&
                          Resolve(FFontList, "FcFontList") &&
                          Resolve(FFontSetDestroy, "FcFontSetDestroy");
    if (resolved) FConfig = FInit();
    Resolve(FFini, "FcFini");
  }

  ~FontConfig() {
    if (FConfig) FConfigDestroy(FConfig);
    // The library keeps caches of its own until it is finished with.
    if (FConfig && FFini) FFini();
    if (FLibrary) ::dlclose(FLibrary);
  }

  template <class Function>
  bool Resolve(Function& function, const char* name) {
    function = reinterpret_cast<Function>(::dlsym(FLibrary, name));
    return function != nullptr;
  }

  std::optional<std::string> FileOf(void* pattern) const {
    unsigned char* file = nullptr;
    if (FPatternGetString(pattern, "file", 0, &file) != 0 || !file) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(file));
  }

  std::mutex FMutex;
  void* FLibrary = nullptr;
  void* FConfig = nullptr;
  void* (*FInit)() = nullptr;
  void (*FConfigDestroy)(void*) = nullptr;
  void (*FFini)() = nullptr;
  void* (*FPatternCreate)() = nullptr;
  void (*FPatternDestroy)(void*) = nullptr;
  int (*FPatternAddString)(void*, const char*, const unsigned char*) = nullptr;
  int (*FPatternAddInteger)(void*, const char*, int) = nullptr;
  int (*FPatternGetString)(void*, const char*, int, unsigned char**) = nullptr;
  int (*FConfigSubstitute)(void*, void*, int) = nullptr;
  void (*FDefaultSubstitute)(void*) = nullptr;
  void* (*FFontMatch)(void*, void*, int*) = nullptr;
  void* (*FObjectSetBuild)(const char*, ...) = nullptr;
  void (*FObjectSetDestroy)(void*) = nullptr;
  FcFontSet* (*FFontList)(void*, void*, void*) = nullptr;
  void (*FFontSetDestroy)(FcFontSet*) = nullptr;
};

bool IsFontFileName(const std::string& name) {
  const std::size_t dot = name.find_last_of('.');
  if (dot == std::string::npos) return false;
  const std::string ext = base::AsciiLowerCase(name.substr(dot + 1));
  return ext == "ttf" || ext == "otf" || ext == "ttc";
}

// Depth-first through a folder tree, not following links to folders, with a bound on depth and
// on the number of files so a strange tree cannot hold us up.
void ScanFolder(const std::string& folder, int depth, std::vector<std::string>& files) {
  constexpr std::size_t kMaxFiles = 4096;
  if (depth > 8 || files.size() >= kMaxFiles) return;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  std::vector<std::string> names;
  while (dirent* entry = ::readdir(dir)) {
    if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
      names.emplace_back(entry->d_name);
    }
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    if (files.size() >= kMaxFiles) return;
    const std::string path = folder + "/" + name;
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) continue;
    if (S_ISDIR(st.st_mode)) {
      ScanFolder(path, depth + 1, files);
    } else if (IsFontFileName(name)) {
      files.push_back(path);
    }
  }
}

}  // namespace

std::vector<std::string> ListFontFiles() {
  FontConfig& config = FontConfig::Instance();
  if (config.Available()) {
    std::vector<std::string> files = config.List();
    std::erase_if(files, [](const std::string& f) { return !IsFontFileName(f); });
    std::sort(files.begin(), files.end());
    if (!files.empty()) return files;
  }
  std::vector<std::string> files;
  ScanFolder("/usr/share/fonts", 0, files);
  if (const char* home = std::getenv("HOME")) {
    ScanFolder(std::string(home) + "/.fonts", 0, files);
    ScanFolder(std::string(home) + "/.local/share/fonts", 0, files);
  }
  return files;
}

std::optional<std::string> MatchFontFile(const std::string& family, int weight, bool italic) {
  FontConfig& config = FontConfig::Instance();
  if (!config.Available()) return std::nullopt;
  auto file = config.Match(family, weight, italic);
  if (file && !IsFontFileName(*file)) return std::nullopt;
  return file;
}

}  // namespace pavona::platform
