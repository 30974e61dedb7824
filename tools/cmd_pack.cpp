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
#include <string_view>
#include <vector>

#include "platform/files.h"

#include "base/ascii.h"
#include "platform/replacing_file.h"
#include "platform/media_device.h"
#include "platform/stream.h"
#include "pictures/picture.h"
#include "pictures/jpeg_writer.h"
#include "pictures/picture_formats.h"
#include "pictures/png_writer.h"
#include "settings/comma_text.h"
#include "settings/utf8.h"
#include "settings/xml_value.h"
#include "effects/effect_table.h"
#include "transition/style_choice.h"
#include "tools/command.h"
#include "tools/pack_show.h"
#include "tools/picture_fit.h"
#include "tools/progress_line.h"
#include "tools/scratch_folder.h"
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
  std::optional<transition::TStyleChoice> style;
  std::optional<raster::Size> fit;
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

// WxH, each side a whole number from 1 to 65535.
raster::Size ParseFit(const std::string& text) {
  const auto side = [](const std::string& part) {
    const bool digits = !part.empty() && part.size() <= 5 &&
                        part.find_first_not_of("0123456789") == std::string::npos;
    const int value = digits ? std::stoi(part) : 0;
    return value >= 1 && value <= 65535 ? value : 0;
  };
  const std::size_t x = text.find_first_of("xX");
  const int width = x == std::string::npos ? 0 : side(text.substr(0, x));
  const int height = x == std::string::npos ? 0 : side(text.substr(x + 1));
  if (width == 0 || height == 0) {
    throw UsageError{"--fit needs WIDTHxHEIGHT in pixels, such as 1920x1080, not " + Quoted(text)};
  }
  return {width, height};
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
    } else if (arg == "--style") {
      bool given = options.style.has_value();
      const std::string& text = value(given);
      options.style = transition::ParseStyleChoice(effects::EffectTable, text);
      if (!options.style) {
        throw UsageError{"unknown style " + Quoted(text) +
                         ": give a number from 1 to 176, a name from 'pavona styles', or random"};
      }
    } else if (arg == "--fit") {
      bool given = options.fit.has_value();
      options.fit = ParseFit(value(given));
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
  return !extension.empty() && pictures::FileFormats().FindExt(extension) != nullptr;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Natural name order: runs of digits compare by their value (2 before 10), the rest ignoring
// the case of ASCII letters; names equal that way fall back to their bytes.
bool NaturalLess(const std::string& a, const std::string& b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      std::size_t endA = i;
      std::size_t endB = j;
      while (endA < a.size() && IsDigit(a[endA])) ++endA;
      while (endB < b.size() && IsDigit(b[endB])) ++endB;
      std::size_t startA = i;
      std::size_t startB = j;
      while (startA + 1 < endA && a[startA] == '0') ++startA;
      while (startB + 1 < endB && b[startB] == '0') ++startB;
      const std::string_view runA(a.data() + startA, endA - startA);
      const std::string_view runB(b.data() + startB, endB - startB);
      if (runA.size() != runB.size()) return runA.size() < runB.size();
      if (runA != runB) return runA < runB;
      i = endA;
      j = endB;
      continue;
    }
    const char ca = base::AsciiLower(a[i]);
    const char cb = base::AsciiLower(b[j]);
    if (ca != cb) return static_cast<unsigned char>(ca) < static_cast<unsigned char>(cb);
    ++i;
    ++j;
  }
  if ((i < a.size()) != (j < b.size())) return j < b.size();
  return a < b;
}

// A folder stands for the pictures directly in it (not in its sub-folders), in natural order.
std::vector<std::string> ExpandFolders(const std::vector<std::string>& given) {
  std::vector<std::string> pictures;
  for (const std::string& path : given) {
    std::error_code error;
    if (!fs::is_directory(path, error)) {
      pictures.push_back(path);
      continue;
    }
    std::vector<std::string> names;
    for (const std::string& name : platform::ListDirectory(path)) {
      const std::string file = platform::JoinPath(path, name);
      if (IsPictureExtension(platform::ExtensionOf(name)) && fs::is_regular_file(file, error)) {
        names.push_back(name);
      }
    }
    if (names.empty()) throw EPackError("the folder " + Quoted(path) + " holds no pictures");
    std::sort(names.begin(), names.end(), NaturalLess);
    for (const std::string& name : names) pictures.push_back(platform::JoinPath(path, name));
  }
  return pictures;
}

// Decodes the picture as the viewer will, so that a show never holds a slide it cannot show.
void CheckPicture(const std::string& path, pictures::TPicture& picture) {
  try {
    picture.LoadFromFile(path);
  } catch (const std::exception& e) {
    throw EPackError(Quoted(path) + ": the viewer cannot show this picture: " + e.what());
  }
  if (picture.Width() <= 0 || picture.Height() <= 0) {
    throw EPackError(Quoted(path) + ": the picture has no pixels");
  }
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
  if (options.style) element("Style", options.style->Text());
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

void Report(const TZipEntryInfo& entry, TProgressLine& progress) {
  progress.Clear();
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

void AddFile(TZipWriter& zip, const std::string& name, const std::string& path,
             TProgressLine& progress) {
  platform::TFileStream in(path, platform::FileMode::Read);
  Report(zip.Add(name, in, ModificationTime(path)), progress);
}

// A picture made to fit the box of --fit: JPEG again as JPEG at quality 90, PNG as PNG, the
// other kinds as PNG under the name with ".png" (the viewer picks the decoder by extension).
// Returns the package name of the smaller picture, now written into folder.
std::string WriteFitted(const pictures::TPicture& picture, const std::string& name,
                        raster::Size size, const std::string& folder) {
  raster::Bitmap natural(picture.Width(), picture.Height());
  picture.Graphic()->Draw(natural, raster::Point{0, 0});
  const raster::Bitmap scaled = ScaleDownByArea(natural, size);
  const std::string extension = base::AsciiLowerCase(platform::ExtensionOf(name));
  if (extension == "jpg" || extension == "jpeg") {
    pictures::WriteJpegFile(platform::JoinPath(folder, name), scaled, 90);
    return name;
  }
  const std::string fitted =
      extension == "png" ? name : name.substr(0, name.size() - extension.size()) + "png";
  pictures::WritePngFile(platform::JoinPath(folder, fitted), scaled);
  return fitted;
}

std::uintmax_t FileSize(const std::string& path) {
  std::error_code error;
  const std::uintmax_t size = fs::file_size(path, error);
  return error ? 0 : size;
}

std::string CountText(const char* doing, std::size_t done, std::size_t total) {
  return std::string("pavona pack: ") + doing + " " + std::to_string(done) + " of " +
         std::to_string(total);
}

int Run(const std::vector<std::string>& args) {
  TPackOptions options = ParseArguments(args);
  options.pictures = ExpandFolders(options.pictures);
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
  const auto checkNames = [&] {
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
  };
  checkNames();
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    RequireFile(inputs[i], i < names.size() ? "picture" : "sound");
  }
  // The files the entries are read from: the pictures given, or their fitted copies.
  std::vector<std::string> sources = options.pictures;
  std::optional<TScratchFolder> scratch;
  std::uintmax_t sizeBefore = 0;
  std::uintmax_t sizeAfter = 0;
  std::size_t fittedCount = 0;
  TProgressLine progress;
  for (std::size_t i = 0; i < options.pictures.size(); ++i) {
    progress.Update(CountText("checking picture", i + 1, options.pictures.size()));
    pictures::TPicture picture;
    CheckPicture(options.pictures[i], picture);
    if (!options.fit) continue;
    const raster::Size size{picture.Width(), picture.Height()};
    const raster::Size fitted = FitWithin(size, *options.fit);
    if (fitted == size) continue;
    if (!scratch) scratch.emplace();
    try {
      names[i] = WriteFitted(picture, names[i], fitted, scratch->Path());
    } catch (const std::exception& e) {
      throw EPackError(Quoted(options.pictures[i]) + ": cannot make it smaller: " + e.what());
    }
    sources[i] = platform::JoinPath(scratch->Path(), names[i]);
    sizeBefore += FileSize(options.pictures[i]);
    sizeAfter += FileSize(sources[i]);
    ++fittedCount;
  }
  progress.Clear();
  if (fittedCount > 0) checkNames();
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
  for (std::size_t i = 0; i < names.size(); ++i) {
    progress.Update(CountText("packing picture", i + 1, names.size()));
    AddFile(zip, names[i], sources[i], progress);
  }
  if (!soundName.empty()) AddFile(zip, soundName, options.sound, progress);
  platform::TMemoryStream settings(
      std::vector<std::uint8_t>(settingsText.begin(), settingsText.end()));
  Report(zip.Add(kSettingsName, settings, std::time(nullptr)), progress);
  zip.Finish();
  show.Commit();
  if (options.fit) {
    const long long saved = static_cast<long long>(sizeBefore) - static_cast<long long>(sizeAfter);
    std::fprintf(stderr, "pavona pack: --fit made %zu picture%s smaller: %lld bytes %s\n",
                 fittedCount, fittedCount == 1 ? "" : "s", saved < 0 ? -saved : saved,
                 saved < 0 ? "more" : "saved");
  }
  std::fprintf(stderr, "pavona pack: wrote %s: %zu picture%s%s\n", options.show.c_str(),
               names.size(), names.size() == 1 ? "" : "s", soundName.empty() ? "" : " and a sound");
  return kExitOk;
}

}  // namespace

int PackShow(const std::vector<std::string>& args) { return Run(args); }

constexpr const char* kHelp =
    R"(Makes SHOW: the player followed by a package of the pictures, the sound and the
settings file pavona.xml. Nothing is written unless every input is usable: each picture is
decoded as the viewer would, and one it cannot show stops the pack (exit code 2). The show is
written beside its final name and renamed at the end, so an older show survives a failure.

  -o, --output SHOW   the show file to make (required).
  PICTURE             a picture the viewer shows: BMP, PNG, JPEG, TIFF or ICO. Slides play in
                      the order given.
  FOLDER              stands for the pictures directly in it (sub-folders are not entered), in
                      natural name order: 2.jpg before 10.jpg.
  --no-loop           stop at the first and last slide instead of wrapping around.
  --seconds N         advance every N seconds (1 to 2147483) until the first key or click;
                      without it the slides change only by keys and mouse.
  --sound FILE        a sound (WAV, OGG, MP3, FLAC) that plays in a loop.
  --style S           the transition: a style number 1 to 176 or a name from 'pavona styles'
                      (letter case ignored), or "random" for a different style at each change.
                      Without it the slides cross-fade (style 119).
  --fit WxH           scale pictures larger than W x H pixels down to fit, keeping their
                      aspect ratio, by averaging the pixels each new one covers. JPEG
                      pictures are written again as JPEG at quality 90 and PNG as PNG; BMP,
                      TIFF and ICO become PNG under the name with ".png". Reports the bytes
                      saved. Smaller pictures are packed as they are.
  --player PATH       the player to put in front; by default pavona-viewer beside this tool.
  --                  everything after it is a picture or folder, even when it starts with "-".

Examples:
  pavona pack -o holiday.show --seconds 5 --sound music.wav beach.jpg hills.png
  pavona pack -o album.show --style random --fit 1920x1080 --no-loop photos/
  pavona pack -o wipes.show --style "Expand in from right" a.png b.png
)";

PAVONA_COMMAND("pack",
               "-o SHOW [--no-loop] [--seconds N] [--sound FILE] [--style N|NAME|random] "
               "[--fit WxH] [--player PATH] PICTURE|FOLDER...",
               "make a show: the player followed by the pictures, a sound and the settings",
               &Run, kHelp);

}  // namespace pavona::tools
