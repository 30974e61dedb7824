#include "pictures/jpeg_image.h"

// jpeglib.h needs the definitions of stdio.h (FILE, size_t) before it.
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

#include <csetjmp>
#include <functional>
#include <string>
#include <vector>

#include "pictures/byte_reader.h"

namespace pavona::pictures {

namespace {

using raster::Pixel;

// libjpeg reports errors through error_exit, which must not return; it jumps back to the stage
// that called libjpeg. The stages hold no object with a destructor.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

// Warnings (such as a file that ends early, which libjpeg completes with grey) are not shown.
void OutputMessage(j_common_ptr) {}

struct JpegState {
  jpeg_decompress_struct cinfo{};
  ErrorManager error{};
  bool cmyk = false;
  int percentDone = -1;

  JpegState() {
    cinfo.err = jpeg_std_error(&error.pub);
    error.pub.error_exit = ErrorExit;
    error.pub.output_message = OutputMessage;
  }
  ~JpegState() { jpeg_destroy_decompress(&cinfo); }
  int MessageCode() const { return error.pub.msg_code; }
};

bool ReadHeader(JpegState& s, const std::uint8_t* data, std::size_t size) {
  if (setjmp(s.error.jump)) return false;
  jpeg_create_decompress(&s.cinfo);
  jpeg_mem_src(&s.cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(&s.cinfo, TRUE);
  // CMYK has no conversion in libjpeg; it is converted here, row by row.
  s.cmyk = s.cinfo.jpeg_color_space == JCS_CMYK || s.cinfo.jpeg_color_space == JCS_YCCK;
  s.cinfo.out_color_space = s.cmyk ? JCS_CMYK : JCS_EXT_BGRA;
  return true;
}

// Adobe writes CMYK inverted (0 = full ink); others write it plain.
void ConvertCmykRow(const std::uint8_t* cmyk, Pixel* out, JDIMENSION width, bool inverted) {
  for (JDIMENSION x = 0; x < width; ++x) {
    const std::uint8_t* p = cmyk + 4 * x;
    std::uint32_t c = p[0], m = p[1], y = p[2], k = p[3];
    if (!inverted) {
      c = 255 - c;
      m = 255 - m;
      y = 255 - y;
      k = 255 - k;
    }
    out[x] = 0xFF000000 | (((c * k + 127) / 255) << 16) | (((m * k + 127) / 255) << 8) |
             ((y * k + 127) / 255);
  }
}

// BGRA output goes straight into the bitmap's rows, several rows a call; CMYK goes through
// one scratch row. Progress is reported whenever the percentage of rows done changes.
bool ReadRows(JpegState& s, raster::Bitmap& pixels, std::uint8_t* cmykRow,
              const std::function<void(int)>& progress) {
  if (setjmp(s.error.jump)) return false;
  jpeg_decompress_struct& cinfo = s.cinfo;
  jpeg_start_decompress(&cinfo);
  if (cinfo.output_width != static_cast<JDIMENSION>(pixels.width()) ||
      cinfo.output_height != static_cast<JDIMENSION>(pixels.height()) ||
      (!s.cmyk && cinfo.output_components != 4)) {
    ERREXIT(&cinfo, JERR_CONVERSION_NOTIMPL);
  }
  while (cinfo.output_scanline < cinfo.output_height) {
    if (s.cmyk) {
      const int y = static_cast<int>(cinfo.output_scanline);
      JSAMPROW row = cmykRow;
      if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) break;
      ConvertCmykRow(cmykRow, pixels.scanline(y), cinfo.output_width, cinfo.saw_Adobe_marker);
    } else {
      JSAMPROW rows[4];
      JDIMENSION count = 0;
      while (count < 4 && cinfo.output_scanline + count < cinfo.output_height) {
        rows[count] = reinterpret_cast<JSAMPROW>(
            pixels.scanline(static_cast<int>(cinfo.output_scanline + count)));
        ++count;
      }
      if (jpeg_read_scanlines(&cinfo, rows, count) == 0) break;
    }
    const int percent =
        static_cast<int>(std::uint64_t{cinfo.output_scanline} * 100 / cinfo.output_height);
    if (progress && percent != s.percentDone) {
      s.percentDone = percent;
      progress(percent);
    }
  }
  jpeg_finish_decompress(&cinfo);
  return true;
}

}  // namespace

EJPEG::EJPEG(int messageCode)
    : EInvalidGraphic("JPEG error #" + std::to_string(messageCode)), FMessageCode(messageCode) {}

void TJPEGImage::LoadFromStream(platform::TStream& stream) {
  const std::vector<std::uint8_t> file = ReadRemaining(stream);
  JpegState s;
  if (!ReadHeader(s, file.data(), file.size())) throw EJPEG(s.MessageCode());
  // Checked before decoding starts, which is when libjpeg allocates its own buffers.
  const JDIMENSION width = s.cinfo.image_width;
  const JDIMENSION height = s.cinfo.image_height;
  if (!IsAcceptableGraphicSize(width, height)) throw EJPEG(JERR_IMAGE_TOO_BIG);
  raster::Bitmap pixels(static_cast<int>(width), static_cast<int>(height));
  std::vector<std::uint8_t> cmykRow(s.cmyk ? std::size_t{width} * 4 : 0);
  if (!ReadRows(s, pixels, cmykRow.data(), OnProgress())) throw EJPEG(s.MessageCode());
  SetPixels(std::move(pixels), false);
}

std::unique_ptr<TGraphic> TJPEGImage::Clone() const {
  auto copy = std::make_unique<TJPEGImage>();
  copy->CopyPixelsFrom(*this);
  return copy;
}

}  // namespace pavona::pictures
