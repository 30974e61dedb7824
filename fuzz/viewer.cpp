// The viewer's whole startup on the headless backend over a package made from the fuzzer's
// bytes, then a few slide changes by key, mouse and timer, the sound's end, and Escape.
// The input is a run of entries, each one byte choosing the entry's name, two bytes (little
// endian) giving its length, then its bytes; the last entry takes what is left. The entries are
// stored in a ZIP with correct checksums, so the settings, pictures and sound reach the viewer
// as written rather than being dropped by the archive's checks.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/main_form.h"
#include "fuzz/scratch_folder.h"
#include "package/crc32.h"
#include "platform/files.h"
#include "platform/headless/forwarding_media_device.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/media_device.h"
#include "platform/keys.h"

using namespace pavona;

namespace {

const char* const kNames[] = {"pavona.xml", "a.png", "b.bmp", "c.jpg", "d.tif",
                              "e.ico",      "f.jpeg", "s.wav", "g.tiff", "t.mp3"};

struct TEntry {
  std::string Name;
  std::string_view Data;
};

std::vector<TEntry> ParseEntries(std::string_view input) {
  std::vector<TEntry> entries;
  while (input.size() >= 3 && entries.size() < 12) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(input.data());
    const std::size_t length = std::min<std::size_t>(p[1] | (p[2] << 8), input.size() - 3);
    entries.push_back({kNames[p[0] % std::size(kNames)], input.substr(3, length)});
    input.remove_prefix(3 + length);
  }
  return entries;
}

void Put16(std::string& out, unsigned v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// A ZIP of stored entries, dated 1 January 2020.
std::string StoredZip(const std::vector<TEntry>& entries) {
  std::string zip;
  std::string directory;
  for (const TEntry& e : entries) {
    const std::uint32_t offset = static_cast<std::uint32_t>(zip.size());
    const std::uint32_t crc = package::Crc32Of(e.Data);
    const auto size = static_cast<std::uint32_t>(e.Data.size());
    auto common = [&](std::string& out) {
      Put16(out, 20);  // version needed
      Put16(out, 0);   // flags
      Put16(out, 0);   // stored
      Put16(out, 0);   // time
      Put16(out, (40 << 9) | (1 << 5) | 1);
      Put32(out, crc);
      Put32(out, size);
      Put32(out, size);
      Put16(out, static_cast<unsigned>(e.Name.size()));
      Put16(out, 0);  // extra
    };
    Put32(zip, 0x04034B50);
    common(zip);
    zip += e.Name;
    zip += e.Data;
    Put32(directory, 0x02014B50);
    Put16(directory, 20);  // made by
    common(directory);
    Put16(directory, 0);  // comment
    Put16(directory, 0);  // disk
    Put16(directory, 0);  // internal attributes
    Put32(directory, 0);  // external attributes
    Put32(directory, offset);
    directory += e.Name;
  }
  const auto directoryOffset = static_cast<std::uint32_t>(zip.size());
  zip += directory;
  Put32(zip, 0x06054B50);
  Put16(zip, 0);
  Put16(zip, 0);
  Put16(zip, static_cast<unsigned>(entries.size()));
  Put16(zip, static_cast<unsigned>(entries.size()));
  Put32(zip, static_cast<std::uint32_t>(directory.size()));
  Put32(zip, directoryOffset);
  Put16(zip, 0);
  return zip;
}

// Runs what is queued and the transition under way, within a bound.
void Settle(platform::headless::THeadlessBackend& backend) {
  backend.RunUntilIdle();
  for (int guard = 0; guard < 20 && backend.FireFrameTimers() > 0; ++guard) backend.RunUntilIdle();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string& scratch = fuzz::ScratchFolder();
  const std::string temp = platform::JoinPath(scratch, "tmp");
  const std::string show = platform::JoinPath(scratch, "show.zip");
  platform::CreateDirectories(temp);
  platform::SetEnvironmentValue("TMP", temp);
  platform::SetEnvironmentValue("TEMP", std::nullopt);
  std::ofstream(show, std::ios::binary | std::ios::trunc)
      << StoredZip(ParseEntries({reinterpret_cast<const char*>(data), size}));
  {
    platform::headless::THeadlessBackend backend({64, 48});
    platform::headless::THeadlessMediaDevice device(backend.Loop());
    {
      app::TMainForm form(backend, show,
                          std::make_unique<platform::headless::TForwardingMediaDevice>(device));
      form.Show();
      Settle(backend);
      backend.AdvanceTime(1000);  // an automatic advance, when "Seconds" is 1
      Settle(backend);
      device.Advance(4000);  // the sound ends and restarts
      Settle(backend);
      backend.PressKey(platform::vk::Right);
      Settle(backend);
      backend.ClickMouse(platform::mbRight);
      Settle(backend);
      backend.PressKey(platform::vk::Escape);
      backend.RunUntilIdle();
    }
  }
  platform::RemoveTree(temp);
  return 0;
}
