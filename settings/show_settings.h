// A show's settings as the viewer reads them from pavona.xml: the slide list, whether navigation
// wraps, automatic advance, the background sound and the transition style.
//
// The viewer's startup points a store set up by ConfigureViewerStorage at the file, takes the
// values with ReadShowSettings, acts on them step by step (showing slide 0 before it arms the
// slide timer with AdvancePeriodMs, and so on), then flushes the store and sets its file name
// to "". Tools that only look use LoadShowSettings, which never writes the file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings/app_xml_file_storage.h"

namespace pavona::settings {

inline constexpr const char* kSettingsFileName = "pavona.xml";

struct TShowSettings {
  std::vector<std::string> ImageList;  // "List", split as comma text
  bool IsLooped = true;                // "Loop"
  bool Mouse = true;                   // "Mouse": true means no automatic advance
  std::string Seconds;                 // "Seconds", read only when Mouse is false
  std::string Sound;                   // "Sound": a file name, or "" for no sound
  std::string Style;                   // "Style": a style number, a name, "random", or ""

  // The slide timer's period: Seconds × 1000 ms in 32-bit arithmetic that wraps, taken as
  // unsigned. Raises EConvertError when Seconds is not integer text.
  std::uint32_t AdvancePeriodMs() const;
};

// The store as the viewer has it: root "Info", the words TRUE, YES, Y and FALSE, NO, N, and "_"
// for blanks and invalid characters in element names.
void ConfigureViewerStorage(TAppXMLFileStorage& store);

// Reads the show's keys from a store whose file name is set.
TShowSettings ReadShowSettings(TAppXMLFileStorage& store);

// Loads the settings file at path and reads it as the viewer does, without ever writing it.
// A missing file gives the defaults; load errors (ESimpleXMLError, platform::EStreamError)
// propagate.
TShowSettings LoadShowSettings(const std::string& path);

}  // namespace pavona::settings
