#include "tools/zip_writer.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <limits>
#include <memory>

namespace pavona::tools {

namespace {

constexpr std::size_t kBlock = 64 * 1024;
constexpr std::uint64_t kMax32 = std::numeric_limits<std::uint32_t>::max();
constexpr std::uint16_t kUtf8NameFlag = 1u << 11;

class TBytes {
 public:
  void U16(std::uint32_t v) {
    FBytes.push_back(static_cast<std::uint8_t>(v));
    FBytes.push_back(static_cast<std::uint8_t>(v >> 8));
  }
  void U32(std::uint32_t v) {
    U16(v & 0xFFFF);
    U16(v >> 16);
  }
  void Text(const std::string& s) { FBytes.insert(FBytes.end(), s.begin(), s.end()); }
  void WriteTo(platform::TStream& out) const { out.Write(FBytes.data(), FBytes.size()); }

 private:
  std::vector<std::uint8_t> FBytes;
};

bool NeedsUtf8Flag(const std::string& name) {
  for (const unsigned char c : name) {
    if (c >= 0x80) return true;
  }
  return false;
}

// Raw Deflate (no zlib header), as ZIP method 8 holds it.
class TDeflater {
 public:
  TDeflater() {
    if (deflateInit2(&FStream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) !=
        Z_OK) {
      throw EZipWriteError("Cannot start the Deflate compressor");
    }
  }
  ~TDeflater() { deflateEnd(&FStream); }
  TDeflater(const TDeflater&) = delete;
  TDeflater& operator=(const TDeflater&) = delete;

  // Compresses data (finish: the last of it) and hands every output block to sink.
  template <typename Sink>
  void Feed(const std::uint8_t* data, std::size_t size, bool finish, Sink&& sink) {
    FStream.next_in = const_cast<Bytef*>(data);
    FStream.avail_in = static_cast<uInt>(size);
    int result = Z_OK;
    do {
      FStream.next_out = FOut.data();
      FStream.avail_out = static_cast<uInt>(FOut.size());
      result = deflate(&FStream, finish ? Z_FINISH : Z_NO_FLUSH);
      if (result == Z_STREAM_ERROR) throw EZipWriteError("Deflate compression failed");
      sink(FOut.data(), FOut.size() - FStream.avail_out);
    } while (FStream.avail_out == 0 || (finish && result != Z_STREAM_END));
  }

 private:
  z_stream FStream{};
  std::array<std::uint8_t, kBlock> FOut{};
};

// One pass over source: its CRC-32 and size, and the Deflate output handed to sink.
template <typename Sink>
void Scan(platform::TStream& source, std::uint32_t& crc, std::uint64_t& size, bool deflate,
          Sink&& sink) {
  source.Seek(0, platform::SeekOrigin::Begin);
  std::vector<std::uint8_t> block(kBlock);
  std::unique_ptr<TDeflater> deflater;
  if (deflate) deflater = std::make_unique<TDeflater>();
  crc = static_cast<std::uint32_t>(crc32(0, nullptr, 0));
  size = 0;
  for (;;) {
    const std::size_t got = source.Read(block.data(), block.size());
    crc = static_cast<std::uint32_t>(crc32(crc, block.data(), static_cast<uInt>(got)));
    size += got;
    if (size > kMax32) throw EZipWriteError("A file larger than 4 GiB cannot be packed");
    if (deflate) {
      deflater->Feed(block.data(), got, got == 0, sink);
    } else {
      sink(block.data(), got);
    }
    if (got == 0) break;
  }
}

}  // namespace

void ToDosDateTime(std::time_t moment, std::uint16_t& date, std::uint16_t& time) {
  std::tm local{};
  if (const std::tm* converted = std::localtime(&moment)) local = *converted;
  int year = local.tm_year + 1900;
  if (year < 1980) {
    date = (1 << 5) | 1;  // 1980-01-01 00:00:00
    time = 0;
    return;
  }
  if (year > 2107) {
    year = 2107;
    local = std::tm{};
    local.tm_mon = 11;
    local.tm_mday = 31;
    local.tm_hour = 23;
    local.tm_min = 59;
    local.tm_sec = 58;
  }
  date = static_cast<std::uint16_t>(((year - 1980) << 9) | ((local.tm_mon + 1) << 5) |
                                    local.tm_mday);
  time = static_cast<std::uint16_t>((local.tm_hour << 11) | (local.tm_min << 5) |
                                    (std::min(local.tm_sec, 59) / 2));
}

const TZipEntryInfo& TZipWriter::Add(const std::string& name, platform::TStream& source,
                                     std::time_t modified) {
  if (FEntries.size() >= 0xFFFF) throw EZipWriteError("Too many files for one package");
  if (name.size() > 0xFFFF) throw EZipWriteError("File name too long: " + name);
  TZipEntryInfo entry;
  entry.Name = name;
  ToDosDateTime(modified, entry.DosDate, entry.DosTime);
  const std::uint64_t offset = static_cast<std::uint64_t>(FOut.Position());
  if (offset > kMax32) throw EZipWriteError("The show would be larger than 4 GiB");
  entry.HeaderOffset = static_cast<std::uint32_t>(offset);

  // First pass: measure what Deflate makes of the data.
  std::uint64_t size = 0;
  std::uint64_t deflatedSize = 0;
  Scan(source, entry.Crc32, size, true,
       [&](const std::uint8_t*, std::size_t n) { deflatedSize += n; });
  entry.Size = static_cast<std::uint32_t>(size);
  entry.Method = deflatedSize < size ? package::zip_method::kDeflated : package::zip_method::kStored;
  entry.CompressedSize = static_cast<std::uint32_t>(entry.Method == package::zip_method::kDeflated ? deflatedSize : size);
  if (offset + 30 + name.size() + entry.CompressedSize > kMax32) {
    throw EZipWriteError("The show would be larger than 4 GiB");
  }

  TBytes header;
  header.U32(0x04034b50);
  header.U16(entry.Method == package::zip_method::kDeflated ? 20 : 10);
  header.U16(NeedsUtf8Flag(name) ? kUtf8NameFlag : 0);
  header.U16(entry.Method);
  header.U16(entry.DosTime);
  header.U16(entry.DosDate);
  header.U32(entry.Crc32);
  header.U32(entry.CompressedSize);
  header.U32(entry.Size);
  header.U16(static_cast<std::uint32_t>(name.size()));
  header.U16(0);
  header.Text(name);
  header.WriteTo(FOut);

  // Second pass: write the data as measured.
  std::uint32_t crc = 0;
  std::uint64_t written = 0;
  Scan(source, crc, size, entry.Method == package::zip_method::kDeflated, [&](const std::uint8_t* data, std::size_t n) {
    written += n;
    if (written <= entry.CompressedSize) FOut.Write(data, n);
  });
  if (crc != entry.Crc32 || size != entry.Size || written != entry.CompressedSize) {
    throw EZipWriteError("File changed while it was being packed: " + name);
  }
  FEntries.push_back(entry);
  return FEntries.back();
}

void TZipWriter::Finish() {
  const std::uint64_t start = static_cast<std::uint64_t>(FOut.Position());
  TBytes directory;
  for (const TZipEntryInfo& entry : FEntries) {
    directory.U32(0x02014b50);
    // Made on Unix, so that readers take the name's bytes as they are (the UTF-8 flag says
    // what they are) and the mode below as the file's.
    directory.U16((3 << 8) | 20);
    directory.U16(entry.Method == package::zip_method::kDeflated ? 20 : 10);
    directory.U16(NeedsUtf8Flag(entry.Name) ? kUtf8NameFlag : 0);
    directory.U16(entry.Method);
    directory.U16(entry.DosTime);
    directory.U16(entry.DosDate);
    directory.U32(entry.Crc32);
    directory.U32(entry.CompressedSize);
    directory.U32(entry.Size);
    directory.U16(static_cast<std::uint32_t>(entry.Name.size()));
    directory.U16(0);  // extra field
    directory.U16(0);  // comment
    directory.U16(0);  // disk number
    directory.U16(0);  // internal attributes
    directory.U32(0100644u << 16);  // a regular file, readable by all, writable by its owner
    directory.U32(entry.HeaderOffset);
    directory.Text(entry.Name);
  }
  directory.WriteTo(FOut);
  const std::uint64_t end = static_cast<std::uint64_t>(FOut.Position());
  if (end + 22 > kMax32) throw EZipWriteError("The show would be larger than 4 GiB");

  TBytes record;
  record.U32(0x06054b50);
  record.U16(0);
  record.U16(0);
  record.U16(static_cast<std::uint32_t>(FEntries.size()));
  record.U16(static_cast<std::uint32_t>(FEntries.size()));
  record.U32(static_cast<std::uint32_t>(end - start));
  record.U32(static_cast<std::uint32_t>(start));
  record.U16(0);
  record.WriteTo(FOut);
}

}  // namespace pavona::tools
