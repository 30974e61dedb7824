#include "pictures/png_writer.h"

#include <png.h>

#include <cstdint>
#include <new>
#include <vector>

#include "platform/stream.h"

namespace pavona::pictures {

namespace {

// libpng writes into memory; the file is written afterwards, outside libpng's longjmp-based
// error handling.
struct TWriteContext {
  std::vector<std::uint8_t> bytes;
  std::string error;
};

void WriteData(png_structp png, png_bytep data, png_size_t length) {
  auto* context = static_cast<TWriteContext*>(png_get_io_ptr(png));
  bool stored = true;
  try {
    context->bytes.insert(context->bytes.end(), data, data + length);
  } catch (const std::bad_alloc&) {
    stored = false;
  }
  if (!stored) png_error(png, "out of memory");
}

void FlushData(png_structp) {}

[[noreturn]] void OnError(png_structp png, png_const_charp message) {
  auto* context = static_cast<TWriteContext*>(png_get_io_ptr(png));
  if (context != nullptr && context->error.empty()) context->error = message;
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// Nothing here may need a destructor: libpng leaves by longjmp on errors.
bool Encode(TWriteContext& context, int w, int h, png_bytepp rows) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &context, OnError, OnWarning);
  if (png == nullptr) {
    context.error = "out of memory";
    return false;
  }
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    context.error = "out of memory";
    return false;
  }
  if (setjmp(png_jmpbuf(png)) != 0) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &context, WriteData, FlushData);
  png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_set_rows(png, info, rows);
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

void WritePngFile(const std::string& fileName, const raster::Bitmap& bitmap) {
  if (bitmap.is_empty()) throw EPngWriteError("Cannot write an empty picture to " + fileName);
  // Rows as RGB bytes, top row first.
  const int w = bitmap.width();
  const int h = bitmap.height();
  std::vector<png_byte> rgb(static_cast<std::size_t>(w) * h * 3);
  std::vector<png_bytep> rows(static_cast<std::size_t>(h));
  for (int y = 0; y < h; ++y) {
    png_bytep out = rgb.data() + static_cast<std::size_t>(y) * w * 3;
    rows[static_cast<std::size_t>(y)] = out;
    const raster::Pixel* in = bitmap.scanline(y);
    for (int x = 0; x < w; ++x) {
      out[3 * x + 0] = static_cast<png_byte>(in[x] >> 16);
      out[3 * x + 1] = static_cast<png_byte>(in[x] >> 8);
      out[3 * x + 2] = static_cast<png_byte>(in[x]);
    }
  }

  TWriteContext context;
  if (!Encode(context, w, h, rows.data())) {
    throw EPngWriteError("Cannot write " + fileName + ": " + context.error);
  }
  try {
    platform::TFileStream file(fileName, platform::FileMode::Create);
    file.Write(context.bytes.data(), context.bytes.size());
  } catch (const std::exception& e) {
    throw EPngWriteError(e.what());
  }
}

}  // namespace pavona::pictures
