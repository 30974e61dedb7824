// Points the settings store at a file holding arbitrary bytes, reads every key the viewer reads
// (plus nested paths), flushes the document back and loads what was written, which must load.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <string>

#include "fuzz/scratch_folder.h"
#include "platform/files.h"
#include "settings/app_xml_file_storage.h"
#include "settings/int_text.h"
#include "settings/show_settings.h"

using namespace pavona;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = platform::JoinPath(fuzz::ScratchFolder(), "pavona.xml");
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  bool loaded = false;
  {
    settings::TAppXMLFileStorage store;
    settings::ConfigureViewerStorage(store);
    try {
      store.SetFileName(path);
      loaded = true;
    } catch (const std::exception&) {
    }
    try {
      const settings::TShowSettings show = settings::ReadShowSettings(store);
      if (!show.Mouse) (void)show.AdvancePeriodMs();
    } catch (const settings::EConvertError&) {
    }
    (void)store.ReadString("Nested/Deeper/Key", "x");
    (void)store.ReadBoolean("Nested/Flag", false);
    store.Flush();
    store.SetFileName("");
  }
  if (loaded) {
    settings::TAppXMLFileStorage again;
    settings::ConfigureViewerStorage(again);
    again.SetFlushOnDestroy(false);
    try {
      again.SetFileName(path);
    } catch (const std::exception&) {
      std::abort();  // the store wrote a document it cannot read
    }
  }
  platform::RemoveFile(path);
  return 0;
}
