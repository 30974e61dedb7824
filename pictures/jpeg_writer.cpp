#include "pictures/jpeg_writer.h"

#include <cstdio>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

#include <csetjmp>
#include <memory>
#include <vector>

namespace pavona::pictures {

namespace {

struct TErrorManager {
  jpeg_error_mgr Manager;
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
};

[[noreturn]] void OnError(j_common_ptr info) {
  auto* errors = reinterpret_cast<TErrorManager*>(info->err);
  (*info->err->format_message)(info, errors->Message);
  std::longjmp(errors->Jump, 1);
}

struct TFileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Compresses into file; false with errors.Message set when libjpeg failed. Holds nothing but
// what the caller owns, since a failure returns here by longjmp.
bool Compress(std::FILE* file, const raster::Bitmap& bitmap, int quality, JSAMPLE* row,
              jpeg_compress_struct& info, TErrorManager& errors) {
  info.err = jpeg_std_error(&errors.Manager);
  errors.Manager.error_exit = OnError;
  if (setjmp(errors.Jump) != 0) {
    jpeg_destroy_compress(&info);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = static_cast<JDIMENSION>(bitmap.width());
  info.image_height = static_cast<JDIMENSION>(bitmap.height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    const raster::Pixel* pixels = bitmap.scanline(static_cast<int>(info.next_scanline));
    for (int x = 0; x < bitmap.width(); ++x) {
      row[x * 3] = static_cast<JSAMPLE>(pixels[x] >> 16);
      row[x * 3 + 1] = static_cast<JSAMPLE>(pixels[x] >> 8);
      row[x * 3 + 2] = static_cast<JSAMPLE>(pixels[x]);
    }
    JSAMPROW rows[1] = {row};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

}  // namespace

void WriteJpegFile(const std::string& fileName, const raster::Bitmap& bitmap, int quality) {
  std::unique_ptr<std::FILE, TFileCloser> file(std::fopen(fileName.c_str(), "wb"));
  if (!file) throw EJpegWriteError("cannot create " + fileName);
  jpeg_compress_struct info{};
  TErrorManager errors{};
  std::vector<JSAMPLE> row(static_cast<std::size_t>(bitmap.width()) * 3);
  if (!Compress(file.get(), bitmap, quality, row.data(), info, errors)) {
    throw EJpegWriteError("cannot write " + fileName + ": " + errors.Message);
  }
  if (std::fflush(file.get()) != 0 || std::ferror(file.get()) != 0) {
    throw EJpegWriteError("cannot write " + fileName);
  }
}

}  // namespace pavona::pictures
