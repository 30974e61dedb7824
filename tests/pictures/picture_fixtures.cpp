#include "tests/pictures/picture_fixtures.h"

#include <jpeglib.h>
#include <png.h>
#include <tiffio.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace pavona::pictures::testing {

namespace fs = std::filesystem;

ByteWriter& ByteWriter::U8(unsigned v) {
  bytes.push_back(static_cast<std::uint8_t>(v));
  return *this;
}

ByteWriter& ByteWriter::U16(unsigned v) { return U8(v & 0xFF).U8((v >> 8) & 0xFF); }

ByteWriter& ByteWriter::U32(std::uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }

ByteWriter& ByteWriter::Append(const Bytes& more) {
  bytes.insert(bytes.end(), more.begin(), more.end());
  return *this;
}

Bytes PackRows(const std::vector<std::vector<std::uint32_t>>& rows, int bitCount, bool topDown) {
  Bytes out;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const auto& row = rows[topDown ? i : rows.size() - 1 - i];
    Bytes packed((row.size() * bitCount + 31) / 32 * 4);
    for (std::size_t x = 0; x < row.size(); ++x) {
      const std::uint32_t v = row[x];
      if (bitCount < 8) {
        const std::size_t bit = x * bitCount;
        packed[bit / 8] |= static_cast<std::uint8_t>(v << (8 - bitCount - bit % 8));
      } else {
        for (int b = 0; b < bitCount / 8; ++b) packed[x * bitCount / 8 + b] = (v >> (8 * b)) & 0xFF;
      }
    }
    out.insert(out.end(), packed.begin(), packed.end());
  }
  return out;
}

namespace {

// Test processes may run side by side, so names carry a random part as well as a counter.
std::string UniqueName(const std::string& stem) {
  static const std::string session = std::to_string(std::random_device{}());
  static std::atomic<int> counter{0};
  return stem + session + "-" + std::to_string(counter++);
}

Bytes ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

ScratchFolder::ScratchFolder() {
  const fs::path base = fs::temp_directory_path() / UniqueName("pavona-pictures-");
  fs::remove_all(base);
  fs::create_directories(base);
  FPath = base.string();
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  fs::remove_all(FPath, ignored);
}

std::string ScratchFolder::Path(const std::string& name) const {
  return (fs::path(FPath) / name).string();
}

std::string ScratchFolder::Write(const std::string& name, const Bytes& bytes) const {
  const std::string path = Path(name);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return path;
}

raster::Bitmap DrawOver(const TGraphic& graphic, raster::Pixel background) {
  raster::Bitmap canvas(graphic.Width(), graphic.Height());
  canvas.fill(background);
  graphic.Draw(canvas, raster::Point{0, 0});
  return canvas;
}

std::vector<raster::Pixel> PixelsOf(const raster::Bitmap& bitmap) {
  std::vector<raster::Pixel> pixels;
  for (int y = 0; y < bitmap.height(); ++y) {
    for (int x = 0; x < bitmap.width(); ++x) pixels.push_back(bitmap.pixel(x, y));
  }
  return pixels;
}

std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "";
}

namespace {

void PngWrite(png_structp png, png_bytep data, std::size_t size) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + size);
}

void PngFlush(png_structp) {}

[[noreturn]] void PngFail(png_structp, png_const_charp message) {
  throw std::runtime_error(std::string("test PNG writer: ") + message);
}

}  // namespace

Bytes EncodePng(const PngLayout& layout) {
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngFail, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &out, PngWrite, PngFlush);
  png_set_IHDR(png, info, layout.width, layout.height, layout.bitDepth, layout.colorType,
               layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!layout.palette.empty()) {
    std::vector<png_color> colours;
    for (raster::Pixel p : layout.palette) {
      colours.push_back({static_cast<png_byte>(p >> 16), static_cast<png_byte>(p >> 8),
                         static_cast<png_byte>(p)});
    }
    png_set_PLTE(png, info, colours.data(), static_cast<int>(colours.size()));
  }
  if (!layout.paletteAlpha.empty()) {
    png_set_tRNS(png, info, layout.paletteAlpha.data(), static_cast<int>(layout.paletteAlpha.size()),
                 nullptr);
  }
  if (!layout.transparentColour.empty()) {
    png_color_16 colour{};
    if (layout.transparentColour.size() == 1) {
      colour.gray = static_cast<png_uint_16>(layout.transparentColour[0]);
    } else {
      colour.red = static_cast<png_uint_16>(layout.transparentColour[0]);
      colour.green = static_cast<png_uint_16>(layout.transparentColour[1]);
      colour.blue = static_cast<png_uint_16>(layout.transparentColour[2]);
    }
    png_set_tRNS(png, info, nullptr, 0, &colour);
  }
  png_write_info(png, info);
  // Pack the samples of each row at the bit depth, most significant bits first.
  const int channels = png_get_channels(png, info);
  const std::size_t perRow = static_cast<std::size_t>(layout.width) * channels;
  std::vector<Bytes> rows(layout.height, Bytes(png_get_rowbytes(png, info)));
  for (int y = 0; y < layout.height; ++y) {
    for (std::size_t i = 0; i < perRow; ++i) {
      const unsigned v = layout.samples.at(y * perRow + i);
      if (layout.bitDepth == 16) {
        rows[y][2 * i] = static_cast<std::uint8_t>(v >> 8);
        rows[y][2 * i + 1] = static_cast<std::uint8_t>(v);
      } else {
        const std::size_t bit = i * layout.bitDepth;
        rows[y][bit / 8] |= static_cast<std::uint8_t>(v << (8 - layout.bitDepth - bit % 8));
      }
    }
  }
  std::vector<png_bytep> pointers;
  for (Bytes& row : rows) pointers.push_back(row.data());
  png_write_image(png, pointers.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

Bytes EncodeJpeg(int width, int height, int components, const std::vector<std::uint8_t>& samples,
                 int quality, const Bytes& app1) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr error{};
  cinfo.err = jpeg_std_error(&error);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = width;
  cinfo.image_height = height;
  cinfo.input_components = components;
  cinfo.in_color_space = components == 4 ? JCS_CMYK : components == 3 ? JCS_RGB : JCS_GRAYSCALE;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  if (!app1.empty()) {
    jpeg_write_marker(&cinfo, JPEG_APP0 + 1, app1.data(), static_cast<unsigned>(app1.size()));
  }
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(samples.data()) +
                   static_cast<std::size_t>(cinfo.next_scanline) * width * components;
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  Bytes out(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return out;
}

std::vector<raster::Pixel> ReferenceJpegPixels(const Bytes& jpeg) {
  jpeg_decompress_struct cinfo{};
  jpeg_error_mgr error{};
  cinfo.err = jpeg_std_error(&error);
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  std::vector<raster::Pixel> pixels;
  Bytes row(static_cast<std::size_t>(cinfo.output_width) * 3);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW p = row.data();
    jpeg_read_scanlines(&cinfo, &p, 1);
    for (std::size_t x = 0; x < cinfo.output_width; ++x) {
      pixels.push_back(raster::MakePixel(row[3 * x], row[3 * x + 1], row[3 * x + 2]));
    }
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return pixels;
}

Bytes EncodeTiff(int width, int height, int components, const std::vector<std::uint8_t>& samples,
                 int compression) {
  const fs::path path = fs::temp_directory_path() / (UniqueName("pavona-tiff-") + ".tif");
  TIFF* tiff = TIFFOpen(path.c_str(), "w");
  if (tiff == nullptr) throw std::runtime_error("test TIFF writer: cannot create " + path.string());
  TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, width);
  TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, height);
  TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, components);
  TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC,
               components == 1 ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_RGB);
  TIFFSetField(tiff, TIFFTAG_COMPRESSION, compression);
  TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 2);
  for (int y = 0; y < height; ++y) {
    auto* row = const_cast<std::uint8_t*>(samples.data()) +
                static_cast<std::size_t>(y) * width * components;
    TIFFWriteScanline(tiff, row, y, 0);
  }
  TIFFClose(tiff);
  Bytes bytes = ReadFile(path);
  fs::remove(path);
  return bytes;
}

}  // namespace pavona::pictures::testing
