#include "zip_builder.h"

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace pavona::package::ziptest {

std::string U16(std::uint32_t v) { return {static_cast<char>(v), static_cast<char>(v >> 8)}; }
std::string U32(std::uint32_t v) { return U16(v & 0xFFFF) + U16(v >> 16); }
std::string U64(std::uint64_t v) {
  return U32(static_cast<std::uint32_t>(v)) + U32(static_cast<std::uint32_t>(v >> 32));
}

std::string ExtraField(std::uint16_t id, const std::string& data) {
  return U16(id) + U16(static_cast<std::uint32_t>(data.size())) + data;
}

std::uint32_t Crc(const std::string& bytes) {
  return static_cast<std::uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

std::string RawDeflate(const std::string& bytes) {
  z_stream z{};
  deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&z, bytes.size()) + 16, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  z.avail_in = static_cast<uInt>(bytes.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

std::string BuildZip(const std::vector<ZipEntry>& entries, const ZipLayout& layout) {
  std::string file = layout.prefix;
  const std::uint64_t base = layout.adjustOffsets ? 0 : layout.prefix.size();
  std::string central;
  for (const ZipEntry& e : entries) {
    const std::string& data = e.data ? *e.data : e.content;
    const std::uint32_t crc = e.crc ? *e.crc : Crc(e.content);
    const std::uint64_t offset = file.size() - base;
    file += U32(0x04034B50) + U16(e.versionNeeded) + U16(e.flags) + U16(e.method) + U16(e.time) +
            U16(e.date) + U32(crc) + U32(static_cast<std::uint32_t>(data.size())) +
            U32(static_cast<std::uint32_t>(e.content.size())) +
            U16(static_cast<std::uint32_t>(e.name.size())) +
            U16(static_cast<std::uint32_t>(e.localExtra.size())) + e.name + e.localExtra + data;
    std::string extra = e.centralExtra;
    std::uint32_t size32 = static_cast<std::uint32_t>(e.content.size());
    std::uint32_t compressed32 = static_cast<std::uint32_t>(data.size());
    std::uint32_t offset32 = static_cast<std::uint32_t>(offset);
    if (e.zip64) {
      extra = ExtraField(1, U64(e.content.size()) + U64(data.size()) + U64(offset)) + extra;
      size32 = compressed32 = offset32 = 0xFFFFFFFF;
    }
    central += U32(0x02014B50) + U16(e.versionMadeBy) + U16(e.versionNeeded) + U16(e.flags) +
               U16(e.method) + U16(e.time) + U16(e.date) + U32(crc) + U32(compressed32) +
               U32(size32) + U16(static_cast<std::uint32_t>(e.name.size())) +
               U16(static_cast<std::uint32_t>(extra.size())) + U16(0) + U16(0) + U16(0) +
               U32(e.externalAttributes) + U32(offset32) + e.name + extra;
  }
  const std::uint64_t directoryOffset = file.size() - base;
  file += central;
  const std::uint64_t count = entries.size();
  if (layout.zip64End) {
    const std::uint64_t zip64At = file.size() - base;
    file += U32(0x06064B50) + U64(44) + U16(45) + U16(45) + U32(0) + U32(0) + U64(count) +
            U64(count) + U64(central.size()) + U64(directoryOffset);
    file += U32(0x07064B50) + U32(0) + U64(zip64At) + U32(1);
    file += U32(0x06054B50) + U16(0xFFFF) + U16(0xFFFF) + U16(0xFFFF) + U16(0xFFFF) +
            U32(0xFFFFFFFF) + U32(0xFFFFFFFF);
  } else {
    file += U32(0x06054B50) + U16(0) + U16(0) + U16(static_cast<std::uint32_t>(count)) +
            U16(static_cast<std::uint32_t>(count)) + U32(static_cast<std::uint32_t>(central.size())) +
            U32(static_cast<std::uint32_t>(directoryOffset));
  }
  file += U16(static_cast<std::uint32_t>(layout.comment.size())) + layout.comment + layout.trailing;
  return file;
}

TempDir::TempDir() {
  std::random_device device;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const auto candidate = std::filesystem::temp_directory_path() /
                           ("pavona-package-" + std::to_string(device()));
    if (std::filesystem::create_directory(candidate)) {
      FPath = candidate.string();
      return;
    }
  }
  throw std::runtime_error("cannot make a temporary folder");
}

TempDir::~TempDir() {
  std::error_code ignored;
  // Tests make files read-only; give the owner write access back so the folder can go.
  for (const auto& entry : std::filesystem::recursive_directory_iterator(FPath, ignored)) {
    if (!entry.is_symlink()) {
      std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ignored);
    }
  }
  std::filesystem::remove_all(FPath, ignored);
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool FileExists(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
}

bool HaveCommand(const std::string& name) {
  return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

int Shell(const std::string& command) {
  int status = -1;
  Capture(command + " >/dev/null", &status);
  return status;
}

std::string Capture(const std::string& command, int* status) {
  // The shell appends the exit status as a last line, which is split off again here.
  static const std::string kMarker = "\n@status=";
  FILE* pipe = popen(("{ " + command + " ; } 2>&1; printf '" + kMarker + "%d' $?").c_str(), "r");
  if (pipe == nullptr) throw std::runtime_error("popen failed");
  std::string out;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  pclose(pipe);
  const std::size_t marker = out.rfind(kMarker);
  if (marker == std::string::npos) throw std::runtime_error("no status from: " + command);
  if (status) *status = std::atoi(out.c_str() + marker + kMarker.size());
  out.resize(marker);
  return out;
}

std::string TextBytes(std::size_t size, std::uint32_t seed) {
  static const char* const kWords[] = {"slide ", "show ", "picture ", "fade ", "pavona ",
                                       "transition ", "the ", "of ", "and ", "frame\n"};
  std::mt19937 random(seed);
  std::string out;
  out.reserve(size + 16);
  while (out.size() < size) out += kWords[random() % 10];
  out.resize(size);
  return out;
}

std::string NoiseBytes(std::size_t size, std::uint32_t seed) {
  std::mt19937 random(seed);
  std::string out(size, '\0');
  for (char& c : out) c = static_cast<char>(random());
  return out;
}

}  // namespace pavona::package::ziptest
