#include "settings/show_settings.h"

#include "settings/comma_text.h"
#include "settings/int_text.h"

namespace pavona::settings {

std::uint32_t TShowSettings::AdvancePeriodMs() const {
  return static_cast<std::uint32_t>(StrToInt(Seconds)) * 1000u;
}

void ConfigureViewerStorage(TAppXMLFileStorage& store) {
  store.SetRootNodeName("Info");
  TAppXMLStorageOptions& options = store.StorageOptions();
  options.SetBooleanStringTrueValues("TRUE, YES, Y");
  options.SetBooleanStringFalseValues("FALSE, NO, N");
  options.SetWhiteSpaceReplacement("_");
  options.SetInvalidCharReplacement("_");
}

TShowSettings ReadShowSettings(TAppXMLFileStorage& store) {
  TShowSettings settings;
  settings.ImageList = SplitCommaText(store.ReadString("List", ""));
  settings.IsLooped = store.ReadBoolean("Loop", true);
  settings.Mouse = store.ReadBoolean("Mouse", true);
  if (!settings.Mouse) settings.Seconds = store.ReadString("Seconds", "");
  settings.Sound = store.ReadString("Sound", "");
  settings.Style = store.ReadString("Style", "");
  return settings;
}

TShowSettings LoadShowSettings(const std::string& path) {
  TAppXMLFileStorage store;
  store.SetReadOnly(true);
  ConfigureViewerStorage(store);
  store.SetFileName(path);
  return ReadShowSettings(store);
}

}  // namespace pavona::settings
