// pavona pack: makes a show, the player followed by a package of the pictures, the sound and the
// settings file pavona.xml. The show is written under a temporary name beside its final one and
// renamed at the end, so a failure never leaves a half-written show (nor harms an older one).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/files.h"

#include "base/ascii.h"
#include "platform/replacing_file.h"
#include "platform/media_device.h"
#include "platform/stream.h"
#include "settings/comma_text.h"
#include "settings/utf8.h"
#include "settings/xml_value.h"
#include "tools/command.h"
#include "tools/zip_writer.h"

namespace pavona::tools {

namespace {

namespace fs = std::filesystem;

constexpr const char* kSettingsName = "pavona.xml";
constexpr const char* kPlayerName = "pavona-viewer";
// The longest period whose milliseconds still fit the viewer's 32-bit timer arithmetic.
constexpr long kMaxSeconds = 2147483;

// Input that cannot make a show; reported like a usage error, without the usage line.
class EPackError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TPackOptions {
  std::string show;
  bool loop = true;
  std::optional<long> seconds;
  std::string sound;
  std::string player;
  std::vector<std::string> pictures;
};

std::string Quoted(const std::string& text) { return "'" + text + "'"; }


long ParseSeconds(const std::string& text) {
  const bool digits = !text.empty() && text.size() <= 7 &&
                      std::all_of(text.begin(), text.end(), [](char c) {
                        return c >= '0' && c <= '9';
                      });
  const long value = digits ? std::stol(text) : 0;
  if (value < 1 || value > kMaxSeconds) {
    throw UsageError{"--seconds needs a whole number of seconds from 1 to " +
                     std::to_string(kMaxSeconds) + ", not " + Quoted(text)};
  }
  return value;
}

TPackOptions ParseArguments(const std::vector<std::string>& args) {
  TPackOptions options;
  bool haveShow = false;
  bool haveSound = false;
  bool havePlayer = false;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
      options.pictures.push_back(arg);
      continue;
    }
    const auto value = [&](bool& given) -> const std::string& {
      if (given) throw UsageError{arg + " given twice"};
      if (i + 1 >= args.size()) throw UsageError{arg + " needs a value"};
      given = true;
      return args[++i];
    };
    if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "-o" || arg == "--output") {
      options.show = value(haveShow);
    } else if (arg == "--no-loop") {
      options.loop = false;
    } else if (arg == "--seconds") {
      bool given = options.seconds.has_value();
      options.seconds = ParseSeconds(value(given));
    } else if (arg == "--sound") {
      options.sound = value(haveSound);
    } else if (arg == "--player") {
      options.player = value(havePlayer);
    } else {
      throw UsageError{"unknown option " + Quoted(arg)};
    }
  }
  if (!haveShow || options.show.empty()) throw UsageError{"name the show with -o SHOW"};
  if (options.pictures.empty()) throw UsageError{"no pictures given"};
  if (haveSound && options.sound.empty()) throw UsageError{"--sound needs a file name"};
  return options;
}

bool IsPictureExtension(const std::string& extension) {
  static const char* const kShown[] = {"bmp", "png", "jpeg", "jpg", "tif",
                                       "tiff", "ico", "emf", "wmf"};
  const std::string lower = base::AsciiLowerCase(extension);
  return std::any_of(std::begin(kShown), std::end(kShown),
                     [&](const char* shown) { return lower == shown; });
}

bool IsValidUtf8(const std::string& text) {
  std::string again;
  for (std::size_t i = 0; i < text.size();) {
    settings::AppendUtf8(again, settings::DecodeUtf8(text, i));
  }
  return again == text;
}

// The name a file gets in the package, checked so that the viewer extracts it under that same
// name: the archive reader cuts entry names at "/", "\" and ":".
std::string PackageName(const std::string& path) {
  const std::string name = platform::FileNameOf(path);
  if (name.empty() || name == "." || name == "..") {
    throw EPackError(Quoted(path) + " does not name a file");
  }
  if (name.find_first_of("\\:") != std::string::npos) {
    throw EPackError(Quoted(path) + ": the viewer cannot use a file name containing '\\' or ':'");
  }
  if (!IsValidUtf8(name)) throw EPackError(Quoted(path) + ": the file name is not UTF-8");
  return name;
}

void RequireFile(const std::string& path, const char* what) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (!fs::exists(status)) throw EPackError(std::string(what) + " " + Quoted(path) + " not found");
  if (!fs::is_regular_file(status)) {
    throw EPackError(std::string(what) + " " + Quoted(path) + " is not a file");
  }
}

std::string DefaultPlayer() {
  const std::string self = platform::ExecutablePath();
  const std::string folder = self.substr(0, self.size() - platform::FileNameOf(self).size());
  return platform::JoinPath(folder.empty() ? "." : folder, kPlayerName);
}

// The value text of pavona.xml's element, checked to read back as exactly value.
std::string ElementValue(const std::string& value, const std::string& what) {
  std::string encoded = settings::EncodeXMLElementValue(value);
  if (settings::DecodeXMLValue(settings::DecodeXMLValue(encoded)) != value) {
    throw EPackError("the viewer would not read back " + what);
  }
  return encoded;
}

std::string SettingsText(const TPackOptions& options, const std::vector<std::string>& names,
                         const std::string& soundName) {
  const std::string list = settings::MakeCommaText(names);
  if (settings::SplitCommaText(list) != names) {
    throw EPackError("the viewer would not read back the list of picture names");
  }
  std::string text = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Info>\r\n";
  const auto element = [&](const std::string& key, const std::string& value) {
    text += "  <" + key + ">" + ElementValue(value, key) + "</" + key + ">\r\n";
  };
  element("List", list);
  element("Loop", options.loop ? "True" : "False");
  element("Mouse", options.seconds ? "False" : "True");
  if (options.seconds) element("Seconds", std::to_string(*options.seconds));
  if (!soundName.empty()) element("Sound", soundName);
  text += "</Info>\r\n";
  return text;
}

std::time_t ModificationTime(const std::string& path) {
  std::error_code error;
  const fs::file_time_type written = fs::last_write_time(path, error);
  if (error) return std::time(nullptr);
  return std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(written));
}

// The show under construction: a new file beside the final name, removed unless committed.
class TShowFile {
 public:
  explicit TShowFile(const std::string& show) try : FShow(show), FFile(show) {
  } catch (const platform::EStreamError& e) {
    throw EPackError("cannot create a file beside " + Quoted(show) + ": " + e.Reason());
  }

  platform::TStream& Stream() { return FFile.Stream(); }

  void Commit() {
    if (!platform::SetExecutable(FFile.TemporaryPath())) {
      throw EPackError("cannot make " + Quoted(FShow) + " executable");
    }
    try {
      FFile.Commit();
    } catch (const platform::EStreamError& e) {
      throw EPackError("cannot write " + Quoted(FShow) + ": " + e.Reason());
    }
  }

 private:
  std::string FShow;
  platform::TReplacingFile FFile;
};

void CopyPlayer(const std::string& player, platform::TStream& out) {
  platform::TFileStream in(player, platform::FileMode::Read);
  std::vector<std::uint8_t> block(64 * 1024);
  while (const std::size_t got = in.Read(block.data(), block.size())) out.Write(block.data(), got);
}

void Report(const TZipEntryInfo& entry) {
  if (entry.Method == package::zip_method::kDeflated) {
    // Deflate is kept only when it shrinks the entry, so Size is never 0 here.
    const auto saved =
        static_cast<unsigned>(100 - std::uint64_t{entry.CompressedSize} * 100 / entry.Size);
    std::fprintf(stderr, "  %s: %u bytes, deflated %u%%\n", entry.Name.c_str(), entry.Size,
                 saved);
  } else {
    std::fprintf(stderr, "  %s: %u bytes, stored\n", entry.Name.c_str(), entry.Size);
  }
}

void AddFile(TZipWriter& zip, const std::string& name, const std::string& path) {
  platform::TFileStream in(path, platform::FileMode::Read);
  Report(zip.Add(name, in, ModificationTime(path)));
}

int Run(const std::vector<std::string>& args) {
  const TPackOptions options = ParseArguments(args);
  const std::string player = options.player.empty() ? DefaultPlayer() : options.player;

  // Check everything before writing anything.
  std::vector<std::string> names;
  std::vector<std::string> inputs;
  for (const std::string& picture : options.pictures) {
    const std::string name = PackageName(picture);
    const std::string extension = platform::ExtensionOf(name);
    if (!IsPictureExtension(extension)) {
      throw EPackError(Quoted(picture) + ": the viewer cannot show " +
                       (extension.empty() ? std::string("files without an extension")
                                          : "pictures of type '." + extension + "'"));
    }
    names.push_back(name);
    inputs.push_back(picture);
  }
  std::string soundName;
  if (!options.sound.empty()) {
    soundName = PackageName(options.sound);
    if (platform::MediaDeviceTypeOf(soundName).empty()) {
      throw EPackError(Quoted(options.sound) + ": the viewer plays no sound of this type");
    }
    inputs.push_back(options.sound);
  }
  // pavona.xml needs no place here: no picture or sound extension is "xml".
  std::vector<std::string> entryNames = names;
  if (!soundName.empty()) entryNames.push_back(soundName);
  for (std::size_t i = 0; i < entryNames.size(); ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      // Letter case is ignored: on a file system that ignores it, one would replace the other.
      if (base::AsciiLowerCase(entryNames[i]) == base::AsciiLowerCase(entryNames[j])) {
        throw EPackError(Quoted(inputs[i]) + ": another file of the show is also named " +
                         Quoted(entryNames[j]));
      }
    }
  }
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    RequireFile(inputs[i], i < names.size() ? "picture" : "sound");
  }
  if (options.player.empty()) {
    std::error_code error;
    if (!fs::is_regular_file(player, error)) {
      throw EPackError("the player " + Quoted(player) + " was not found; name one with --player");
    }
  } else {
    RequireFile(player, "player");
  }
  inputs.push_back(player);
  if (platform::IsDirectory(options.show)) {
    throw EPackError("the show " + Quoted(options.show) + " is a folder");
  }
  for (const std::string& input : inputs) {
    std::error_code error;
    if (fs::equivalent(options.show, input, error)) {
      throw EPackError("the show " + Quoted(options.show) + " is one of the files it is made of");
    }
  }
  const std::string settingsText = SettingsText(options, names, soundName);

  TShowFile show(options.show);
  std::fprintf(stderr, "pavona pack: %s\n", options.show.c_str());
  CopyPlayer(player, show.Stream());
  std::fprintf(stderr, "  player %s\n", player.c_str());
  TZipWriter zip(show.Stream());
  for (std::size_t i = 0; i < names.size(); ++i) AddFile(zip, names[i], options.pictures[i]);
  if (!soundName.empty()) AddFile(zip, soundName, options.sound);
  platform::TMemoryStream settings(
      std::vector<std::uint8_t>(settingsText.begin(), settingsText.end()));
  Report(zip.Add(kSettingsName, settings, std::time(nullptr)));
  zip.Finish();
  show.Commit();
  std::fprintf(stderr, "pavona pack: wrote %s: %zu picture%s%s\n", options.show.c_str(),
               names.size(), names.size() == 1 ? "" : "s", soundName.empty() ? "" : " and a sound");
  return kExitOk;
}

}  // namespace

PAVONA_COMMAND("pack",
               "-o SHOW [--no-loop] [--seconds N] [--sound FILE] [--player PATH] PICTURE...",
               "make a show: the player followed by the pictures, a sound and the settings",
               &Run);

}  // namespace pavona::tools
