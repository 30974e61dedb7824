// `pavona info FILE [--json]`: what a show's settings make the viewer do, read exactly as the
// viewer reads them at startup. FILE is a settings file, or a show or ZIP package whose
// pavona.xml is then read as the viewer finds it after extraction. Nothing given is written.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "effects/effect_table.h"
#include "package/archive_error.h"
#include "package/package_extract.h"
#include "package/zip_archive.h"
#include "platform/files.h"
#include "settings/int_text.h"
#include "settings/show_settings.h"
#include "tools/command.h"
#include "tools/scratch_folder.h"
#include "transition/style_choice.h"

namespace pavona::tools {

namespace {

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
          out += escape;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

struct TAdvance {
  std::optional<std::uint32_t> PeriodMs;
  std::string Error;  // why there is no automatic advance
};

TAdvance AdvanceOf(const settings::TShowSettings& show) {
  if (show.Mouse) return {std::nullopt, "mouse"};
  try {
    return {show.AdvancePeriodMs(), ""};
  } catch (const settings::EConvertError& e) {
    return {std::nullopt, e.what()};
  }
}

// The transition the viewer plays: the setting's choice, or the fade when it names none.
transition::TStyleChoice StyleOf(const settings::TShowSettings& show) {
  return transition::ParseStyleChoice(effects::EffectTable, show.Style)
      .value_or(transition::TStyleChoice{});
}

const char* StyleName(transition::TShowStyle style) {
  return effects::EffectTable[style - 1].Name;
}

void PrintJson(const settings::TShowSettings& show, const TAdvance& advance) {
  std::string slides;
  for (const std::string& name : show.ImageList) {
    slides += (slides.empty() ? "" : ", ") + JsonString(name);
  }
  const std::string ms = advance.PeriodMs ? std::to_string(*advance.PeriodMs) : "null";
  const std::string error = advance.PeriodMs ? "null" : JsonString(advance.Error);
  const transition::TStyleChoice style = StyleOf(show);
  const std::string styleValue =
      style.Random ? JsonString(transition::kRandomStyleText) : std::to_string(style.Style);
  const std::string styleName = style.Random ? "null" : JsonString(StyleName(style.Style));
  std::printf("{\"slides\": [%s], \"loop\": %s, \"advance_ms\": %s, \"advance_error\": %s, "
              "\"sound\": %s, \"style\": %s, \"style_name\": %s}\n",
              slides.c_str(), show.IsLooped ? "true" : "false", ms.c_str(), error.c_str(),
              JsonString(show.Sound).c_str(), styleValue.c_str(), styleName.c_str());
}

void PrintText(const settings::TShowSettings& show, const TAdvance& advance) {
  std::printf("slides: %zu\n", show.ImageList.size());
  for (const std::string& name : show.ImageList) std::printf("  %s\n", name.c_str());
  std::printf("loop: %s\n", show.IsLooped ? "yes" : "no");
  if (advance.PeriodMs) {
    std::printf("advance: every %u ms\n", static_cast<unsigned>(*advance.PeriodMs));
  } else {
    std::printf("advance: off (%s)\n", advance.Error.c_str());
  }
  std::printf("sound: %s\n", show.Sound.empty() ? "none" : show.Sound.c_str());
  const transition::TStyleChoice style = StyleOf(show);
  if (style.Random) {
    std::printf("style: random, a different one at each change\n");
  } else {
    std::printf("style: %u %s", static_cast<unsigned>(style.Style), StyleName(style.Style));
    if (!show.Style.empty() && !transition::ParseStyleChoice(effects::EffectTable, show.Style)) {
      std::printf(" ('%s' names no style)", show.Style.c_str());
    }
    std::printf("\n");
  }
}

// Whether the file holds a ZIP package (a plain one, or a show): its directory loads.
bool IsArchive(const std::string& path) {
  try {
    package::TZipArchive archive(path, package::fmOpenRead | package::fmShareDenyNone);
    archive.Load();
    return true;
  } catch (const package::EArchiveException&) {
    return false;
  }
}

// The viewer extracts the whole package flat, so the settings it reads are the last entry whose
// name ends in pavona.xml; an entry that fails is skipped, as in the viewer.
settings::TShowSettings LoadFromArchive(const std::string& path) {
  TScratchFolder folder;
  package::ExtractPackage(path, folder.Path());
  return settings::LoadShowSettings(platform::JoinPath(folder.Path(), settings::kSettingsFileName));
}

int Run(const std::vector<std::string>& args) {
  std::string path;
  bool json = false;
  for (const std::string& arg : args) {
    if (arg == "--json") {
      json = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      throw UsageError{"unknown option '" + arg + "'"};
    } else if (path.empty()) {
      path = arg;
    } else {
      throw UsageError{"more than one file given"};
    }
  }
  if (path.empty()) throw UsageError{"no settings file, show or archive given"};
  // The viewer takes a missing file for one with no values; here it is most likely a typo.
  if (!platform::PathExists(path) || platform::IsDirectory(path)) {
    std::fprintf(stderr, "pavona info: %s: no such file\n", path.c_str());
    return kExitError;
  }
  settings::TShowSettings show;
  try {
    show = IsArchive(path) ? LoadFromArchive(path) : settings::LoadShowSettings(path);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "pavona info: %s: %s\n", path.c_str(), e.what());
    return kExitError;
  }
  const TAdvance advance = AdvanceOf(show);
  if (json) {
    PrintJson(show, advance);
  } else {
    PrintText(show, advance);
  }
  return kExitOk;
}

}  // namespace

constexpr const char* kHelp =
    R"(Reads the settings exactly as the viewer does at startup and says what it will do.
FILE is a settings file, a show, or a ZIP package (whose pavona.xml is read as the viewer finds
it after extracting). Nothing is written.

  --json   one line of JSON with the keys slides, loop, advance_ms, advance_error, sound,
           style and style_name, instead of text.

Examples:
  pavona info holiday.show
  pavona info --json pavona.xml
)";

PAVONA_COMMAND("info", "SETTINGS.xml|SHOW|ARCHIVE [--json]",
               "show the slides, looping, automatic advance, sound and style a show's settings set",
               &Run, kHelp);

}  // namespace pavona::tools
