// A hostile header that claims an enormous picture must be refused before any pixel memory is
// taken. Each file is loaded in a forked child whose address space is capped a little above what
// it already uses, so an attempt to allocate the claimed pixels dies there instead of passing.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <new>
#include <string>

#include "pictures/graphic.h"
#include "pictures/graphic_raster.h"
#include "pictures/picture.h"
#include "pictures/png_image.h"
#include "tests/pictures/picture_fixtures.h"

namespace pavona::pictures::testing {
namespace {

constexpr std::uint32_t kHuge = 100000;

enum ChildResult { kRefused = 10, kLoaded = 11, kOutOfMemory = 12, kOtherError = 13 };

std::uint32_t Crc32(const Bytes& bytes, std::size_t from) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = from; i < bytes.size(); ++i) {
    crc ^= bytes[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void PutBigEndian(Bytes& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void PutChunk(Bytes& out, const std::string& type, const Bytes& data) {
  PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
  Bytes body(type.begin(), type.end());
  body.insert(body.end(), data.begin(), data.end());
  out.insert(out.end(), body.begin(), body.end());
  PutBigEndian(out, Crc32(body, 0));
}

Bytes HugePng() {
  Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes header;
  PutBigEndian(header, kHuge);
  PutBigEndian(header, kHuge);
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, not interlaced
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", {0x78, 0x9C, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01});
  PutChunk(png, "IEND", {});
  return png;
}

Bytes HugeBmp() {
  ByteWriter w;
  w.U8('B').U8('M').U32(14 + 40 + 16).U32(0).U32(14 + 40);
  w.U32(40).U32(kHuge).U32(kHuge).U16(1).U16(24).U32(0).U32(0).U32(0).U32(0).U32(0).U32(0);
  w.Append(Bytes(16, 0x7F));
  return w.bytes;
}

// A grey, uncompressed TIFF of one strip whose data is only a few bytes long.
Bytes HugeTiff() {
  struct Entry { unsigned tag, type; std::uint32_t value; };
  const Entry entries[] = {{256, 4, kHuge}, {257, 4, kHuge}, {258, 3, 8},   {259, 3, 1},
                           {262, 3, 1},     {273, 4, 0},     {277, 3, 1},   {278, 4, kHuge},
                           {279, 4, 16}};
  const std::uint32_t count = sizeof entries / sizeof entries[0];
  const std::uint32_t dataOffset = 8 + 2 + count * 12 + 4;
  ByteWriter w;
  w.U8('I').U8('I').U16(42).U32(8).U16(count);
  for (const Entry& e : entries) {
    w.U16(e.tag).U16(e.type).U32(1);
    const std::uint32_t value = e.tag == 273 ? dataOffset : e.value;
    if (e.type == 3) w.U16(value).U16(0); else w.U32(value);
  }
  w.U32(0).Append(Bytes(16, 0x7F));
  return w.bytes;
}

std::size_t AddressSpaceInUse() {
  std::ifstream statm("/proc/self/statm");
  std::size_t pages = 0;
  statm >> pages;
  return pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

// Loads the file in a child limited to 64 MB more address space than the parent uses now.
int LoadInLimitedChild(const std::string& path) {
  const rlim_t limit = AddressSpaceInUse() + (64u << 20);
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    const rlimit cap{limit, limit};
    setrlimit(RLIMIT_AS, &cap);
    alarm(20);
    int result = kOtherError;
    try {
      TPicture picture;
      picture.LoadFromFile(path);
      result = kLoaded;
    } catch (const EInvalidGraphic&) {
      result = kRefused;  // the error of BMP and TIFF
    } catch (const EPngError&) {
      result = kRefused;
    } catch (const std::bad_alloc&) {
      result = kOutOfMemory;
    } catch (...) {
    }
    _exit(result);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(PictureSizeBound, HugeHeadersAreRefusedWithoutAllocating) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "the sanitizers reserve more address space than the limit allows";
#endif
  EXPECT_FALSE(IsAcceptableGraphicSize(kHuge, kHuge));
  const ScratchFolder folder;
  const struct {
    const char* name;
    Bytes bytes;
  } cases[] = {{"huge.png", HugePng()}, {"huge.bmp", HugeBmp()}, {"huge.tif", HugeTiff()}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = folder.Write(c.name, c.bytes);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(LoadInLimitedChild(path), kRefused);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  }
}

TEST(PictureSizeBound, BoundSitsBetweenLargePhotosAndHostileSizes) {
  EXPECT_TRUE(IsAcceptableGraphicSize(12000, 9000));
  EXPECT_TRUE(IsAcceptableGraphicSize(kMaxGraphicSide, 1));
  EXPECT_FALSE(IsAcceptableGraphicSize(kMaxGraphicSide + 1, 1));
  EXPECT_FALSE(IsAcceptableGraphicSize(kMaxGraphicSide, kMaxGraphicSide));
  EXPECT_FALSE(IsAcceptableGraphicSize(0, 100));
}

}  // namespace
}  // namespace pavona::pictures::testing
