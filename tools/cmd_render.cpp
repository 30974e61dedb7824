// `pavona render`: draws frames of a transition from OLD to NEW with the engine's own frame
// routine, at NEW's size, as the viewer composes them.
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "base/ascii.h"
#include "effects/effect_table.h"
#include "platform/files.h"
#include "raster/bitmap.h"
#include "raster/blit.h"
#include "transition/frame_renderer.h"
#include "pictures/picture.h"
#include "pictures/png_writer.h"
#include "transition/progress_step.h"
#include "transition/random.h"
#include "tools/command.h"
#include "tools/style_sheet.h"

namespace pavona::tools {

namespace {

using transition::TPercent;
using transition::TShowStyle;

struct TOptions {
  TShowStyle style = 0;
  std::vector<TPercent> progress;
  std::uint32_t seed = 0;
  std::string oldFile;
  std::string newFile;
  std::string output;
  std::string framesDir;
  std::string sheet;
  std::uint32_t step = 12;
};

// A whole decimal number within [low, high], or nothing.
std::optional<std::uint32_t> ParseNumber(const std::string& text, std::uint32_t low,
                                         std::uint32_t high) {
  if (text.empty() || text.size() > 10) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (value < low || value > high) return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

// A style by number (1 to 176) or by name, ignoring case; the first row with the name wins.
TShowStyle ParseStyle(const std::string& text) {
  if (auto number = ParseNumber(text, 1, transition::kMaxStyle)) {
    return static_cast<TShowStyle>(*number);
  }
  if (const auto style = transition::FindStyle(effects::EffectTable, text)) return *style;
  throw UsageError{"unknown style '" + text + "' (see 'pavona styles')"};
}

std::vector<TPercent> ParseProgressList(const std::string& text) {
  std::vector<TPercent> values;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    const std::string item = text.substr(start, comma == std::string::npos ? comma : comma - start);
    auto value = ParseNumber(item, 0, 100);
    if (!value) throw UsageError{"bad progress value '" + item + "' (0 to 100)"};
    values.push_back(static_cast<TPercent>(*value));
    if (comma == std::string::npos) return values;
    start = comma + 1;
  }
}

TOptions ParseArguments(const std::vector<std::string>& args) {
  TOptions options;
  bool haveStyle = false;
  std::vector<std::string> files;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw UsageError{"missing value after " + arg};
      return args[++i];
    };
    if (arg == "--style") {
      options.style = ParseStyle(value());
      haveStyle = true;
    } else if (arg == "--progress") {
      options.progress = ParseProgressList(value());
    } else if (arg == "--seed") {
      const std::string& text = value();
      auto seed = ParseNumber(text, 0, UINT32_MAX);
      if (!seed) throw UsageError{"bad seed '" + text + "' (0 to 4294967295)"};
      options.seed = *seed;
    } else if (arg == "-o") {
      options.output = value();
    } else if (arg == "--sheet") {
      options.sheet = value();
    } else if (arg == "--frames") {
      options.framesDir = value();
    } else if (arg == "--step") {
      const std::string& text = value();
      auto step = ParseNumber(text, 1, 100);
      if (!step) throw UsageError{"bad step '" + text + "' (1 to 100)"};
      options.step = *step;
    } else if (arg.size() > 1 && arg[0] == '-') {
      throw UsageError{"unknown option " + arg};
    } else {
      files.push_back(arg);
    }
  }
  if (!options.sheet.empty()) {
    if (haveStyle || !files.empty() || !options.output.empty() || !options.framesDir.empty()) {
      throw UsageError{"--sheet draws every style on built-in pictures; it takes only --progress "
                       "and --seed"};
    }
    if (options.progress.size() > 1) throw UsageError{"--sheet takes one progress value"};
    if (options.progress.empty()) options.progress.push_back(50);
    return options;
  }
  if (!haveStyle) throw UsageError{"--style is required"};
  if (files.size() != 2) throw UsageError{"expected two pictures, OLD and NEW"};
  options.oldFile = files[0];
  options.newFile = files[1];
  if (options.framesDir.empty()) {
    if (options.output.empty()) throw UsageError{"-o OUT.png or --frames DIR is required"};
    if (options.progress.empty()) throw UsageError{"--progress is required with -o"};
  } else if (!options.output.empty() || !options.progress.empty()) {
    throw UsageError{"--frames writes a whole transition; it takes neither -o nor --progress"};
  }
  return options;
}

// The picture drawn at natural size over black, as the viewer draws a slide.
raster::Bitmap LoadPicture(const std::string& fileName) {
  pictures::TPicture picture;
  try {
    picture.LoadFromFile(fileName);
  } catch (const std::exception& e) {
    throw std::runtime_error("cannot read " + fileName + ": " + e.what());
  }
  if (picture.Graphic() == nullptr || picture.Graphic()->Empty()) {
    throw std::runtime_error("cannot read " + fileName + ": the picture has no pixels");
  }
  raster::Bitmap bitmap(picture.Width(), picture.Height());
  picture.Graphic()->Draw(bitmap, raster::Point{0, 0});
  return bitmap;
}

std::string ProgressName(TPercent progress, std::size_t digits) {
  std::string text = std::to_string(progress);
  if (text.size() < digits) text.insert(0, digits - text.size(), '0');
  return text;
}

// OUT.png for one frame; OUT-P.png for each of several.
std::string OutputName(const std::string& output, TPercent progress, bool several) {
  if (!several) return output;
  const std::string suffix = ".png";
  std::string stem = output;
  if (stem.size() >= suffix.size() &&
      base::SameAsciiText(stem.substr(stem.size() - suffix.size()), suffix)) {
    stem.resize(stem.size() - suffix.size());
  }
  return stem + "-" + ProgressName(progress, 1) + suffix;
}

int Run(const std::vector<std::string>& args) {
  const TOptions options = ParseArguments(args);
  if (!options.sheet.empty()) {
    try {
      pictures::WritePngFile(options.sheet, DrawStyleSheet(effects::EffectTable,
                                                           options.progress[0], options.seed));
    } catch (const std::exception& e) {
      std::fprintf(stderr, "pavona render: %s\n", e.what());
      return kExitError;
    }
    return kExitOk;
  }
  raster::Bitmap oldPic;
  raster::Bitmap pic;
  try {
    const raster::Bitmap oldNatural = LoadPicture(options.oldFile);
    pic = LoadPicture(options.newFile);
    if (oldNatural.size() == pic.size()) {
      oldPic = oldNatural.clone();
    } else {
      oldPic = raster::Bitmap(pic.width(), pic.height());
      raster::StretchBlit(oldPic, pic.bounds(), oldNatural, oldNatural.bounds());
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "pavona render: %s\n", e.what());
    return kExitError;
  }

  // Frames in the order the viewer draws them, so random effects that do not seed themselves
  // draw the same sequence for the same seed.
  std::vector<std::pair<TPercent, std::string>> frames;
  if (options.framesDir.empty()) {
    for (TPercent p : options.progress) {
      frames.emplace_back(p, OutputName(options.output, p, options.progress.size() > 1));
    }
  } else {
    if (!platform::IsDirectory(options.framesDir) &&
        !platform::CreateDirectories(options.framesDir)) {
      std::fprintf(stderr, "pavona render: cannot create the folder %s\n",
                   options.framesDir.c_str());
      return kExitError;
    }
    const auto step = static_cast<std::int32_t>(options.step);
    for (std::int32_t p = 0;; p = transition::NextProgress(p, step, false)) {
      frames.emplace_back(static_cast<TPercent>(p),
                          platform::JoinPath(options.framesDir, ProgressName(static_cast<TPercent>(p), 3) + ".png"));
      if (p == 100) break;
    }
  }

  transition::RandomSeed = options.seed;
  raster::Bitmap display(pic.width(), pic.height());
  for (const auto& [progress, fileName] : frames) {
    transition::ComposeFrame(display, oldPic, pic, options.style, progress, effects::EffectTable,
                            options.seed);
    try {
      pictures::WritePngFile(fileName, display);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "pavona render: %s\n", e.what());
      return kExitError;
    }
  }
  return kExitOk;
}

}  // namespace

constexpr const char* kHelp =
    R"(Draws frames of a transition with the viewer's own frame routine, at NEW's size (OLD is
stretched to it when the sizes differ).

  --style S          the style: a number 1 to 176 or a name from 'pavona styles' (required,
                     except with --sheet).
  --progress P,...   the progress values (0 to 100) to draw; with -o.
  -o OUT.png         the file to write; with several progress values OUT-P.png each.
  --frames DIR       every frame of a whole transition, as the viewer steps it, into DIR
                     (000.png, 012.png, ...).
  --step S           the progress step of --frames (1 to 100, default 12 as in the viewer).
  --seed S           the seed of the styles that draw random numbers (default 0).
  --sheet OUT.png    a contact sheet of all 176 styles at one progress value (--progress,
                     default 50) on built-in pictures, each cell labelled with its number;
                     takes no OLD and NEW.

Examples:
  pavona render --style 119 --progress 25,50,75 -o fade.png old.jpg new.jpg
  pavona render --style "Expand in from right" --frames frames/ old.jpg new.jpg
  pavona render --sheet styles.png --progress 40
)";

PAVONA_COMMAND("render",
                "--style N|NAME (--progress P[,P...] -o OUT.png | --frames DIR [--step S]) "
                "[--seed S] OLD NEW | --sheet OUT.png [--progress P] [--seed S]",
                "draws frames of a transition from OLD to NEW as PNG files", &Run, kHelp);

}  // namespace pavona::tools
