#include "pictures/tiff_image.h"

#include <tiffio.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "pictures/byte_reader.h"

namespace pavona::pictures {

namespace {

const char* const kInvalidTiff = "TIFF image is not valid";

// libtiff reads the file through these procedures from a buffer in memory.
struct MemoryFile {
  const std::uint8_t* data;
  toff_t size;
  toff_t position = 0;
};

tmsize_t ReadProc(thandle_t handle, void* buffer, tmsize_t count) {
  auto* f = static_cast<MemoryFile*>(handle);
  if (count <= 0 || f->position >= f->size) return 0;
  const toff_t n = std::min<toff_t>(static_cast<toff_t>(count), f->size - f->position);
  std::memcpy(buffer, f->data + f->position, n);
  f->position += n;
  return static_cast<tmsize_t>(n);
}

tmsize_t WriteProc(thandle_t, void*, tmsize_t) { return 0; }

toff_t SeekProc(thandle_t handle, toff_t offset, int whence) {
  auto* f = static_cast<MemoryFile*>(handle);
  toff_t base = 0;
  if (whence == SEEK_CUR) base = f->position;
  if (whence == SEEK_END) base = f->size;
  f->position = base + offset;
  return f->position;
}

int CloseProc(thandle_t) { return 0; }
toff_t SizeProc(thandle_t handle) { return static_cast<MemoryFile*>(handle)->size; }

int MapProc(thandle_t handle, void** base, toff_t* size) {
  auto* f = static_cast<MemoryFile*>(handle);
  *base = const_cast<std::uint8_t*>(f->data);
  *size = f->size;
  return 1;
}

void UnmapProc(thandle_t, void*, toff_t) {}

// Messages go nowhere; the failure is reported by the return values.
int Quiet(TIFF*, void*, const char*, const char*, va_list) { return 1; }

struct OptionsDeleter {
  void operator()(TIFFOpenOptions* o) const { TIFFOpenOptionsFree(o); }
};
struct TiffDeleter {
  void operator()(TIFF* t) const { TIFFClose(t); }
};

}  // namespace

void TWICImage::LoadFromStream(platform::TStream& stream) {
  const std::vector<std::uint8_t> file = ReadRemaining(stream);
  MemoryFile memory{file.data(), file.size()};
  std::unique_ptr<TIFFOpenOptions, OptionsDeleter> options(TIFFOpenOptionsAlloc());
  if (!options) throw std::bad_alloc();
  TIFFOpenOptionsSetErrorHandlerExtR(options.get(), Quiet, nullptr);
  TIFFOpenOptionsSetWarningHandlerExtR(options.get(), Quiet, nullptr);
  std::unique_ptr<TIFF, TiffDeleter> tiff(
      TIFFClientOpenExt("picture", "r", &memory, ReadProc, WriteProc, SeekProc, CloseProc,
                        SizeProc, MapProc, UnmapProc, options.get()));
  if (!tiff) throw EInvalidGraphic(kInvalidTiff);
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  if (!TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &width) ||
      !TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &height) ||
      !IsAcceptableGraphicSize(width, height)) {
    throw EInvalidGraphic(kInvalidTiff);
  }
  // Rows come bottom-up, the storage order of the bitmap, as R, G, B, A from the low byte.
  raster::Bitmap pixels(static_cast<int>(width), static_cast<int>(height));
  if (!TIFFReadRGBAImageOriented(tiff.get(), width, height, pixels.data(), ORIENTATION_BOTLEFT,
                                 1)) {
    throw EInvalidGraphic(kInvalidTiff);
  }
  raster::Pixel* p = pixels.data();
  for (std::size_t i = 0; i < pixels.pixel_count(); ++i) {
    const raster::Pixel v = p[i];
    p[i] = (v & 0xFF00FF00) | ((v & 0xFF) << 16) | ((v >> 16) & 0xFF);
  }
  SetPixels(std::move(pixels), false);
}

std::unique_ptr<TGraphic> TWICImage::Clone() const {
  auto copy = std::make_unique<TWICImage>();
  copy->CopyPixelsFrom(*this);
  return copy;
}

}  // namespace pavona::pictures
