// Small picture files made on the fly: BMP and ICO byte by byte, PNG, JPEG and TIFF through the
// same libraries the decoders use, plus a scratch folder to put them in.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/stream.h"
#include "raster/bitmap.h"
#include "pictures/graphic.h"

namespace pavona::pictures::testing {

using Bytes = std::vector<std::uint8_t>;

// Appends little-endian fields.
struct ByteWriter {
  Bytes bytes;
  ByteWriter& U8(unsigned v);
  ByteWriter& U16(unsigned v);
  ByteWriter& U32(std::uint32_t v);
  ByteWriter& Append(const Bytes& more);
};

// Stores rows of pixel values (top row first) the way a DIB does: bottom-up unless topDown, each
// row padded to four bytes. Values are palette indexes up to 8 bits a pixel (a mask bit at 1),
// otherwise the pixel word.
Bytes PackRows(const std::vector<std::vector<std::uint32_t>>& rows, int bitCount, bool topDown);

// A folder under the system's temp folder, removed with everything in it at the end.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // Writes the file and returns its path.
  std::string Write(const std::string& name, const Bytes& bytes) const;
  std::string Path(const std::string& name) const;

 private:
  std::string FPath;
};

// Loads a graphic of the given kind from bytes in memory.
template <class Graphic>
std::unique_ptr<Graphic> Decode(const Bytes& bytes) {
  auto graphic = std::make_unique<Graphic>();
  platform::TMemoryStream stream(bytes);
  graphic->LoadFromStream(stream);
  return graphic;
}

// Draws the graphic at (0, 0) onto a canvas of its size filled with background.
raster::Bitmap DrawOver(const TGraphic& graphic, raster::Pixel background);

// The canvas pixels, row by row from the top, for readable comparisons.
std::vector<raster::Pixel> PixelsOf(const raster::Bitmap& bitmap);

// The message of the exception that action raises, or "" when it raises none.
std::string MessageOf(const std::function<void()>& action);

// PNG through libpng. samples holds one value per channel per pixel (per pixel one index for
// palette images), top row first.
struct PngLayout {
  int width = 1;
  int height = 1;
  int colorType = 2;  // PNG_COLOR_TYPE_*
  int bitDepth = 8;
  bool interlaced = false;
  std::vector<unsigned> samples{};
  std::vector<raster::Pixel> palette{};       // colours, for palette images
  std::vector<std::uint8_t> paletteAlpha{};   // tRNS for palette images
  std::vector<unsigned> transparentColour{};  // tRNS for grey (1 value) or RGB (3 values)
};
Bytes EncodePng(const PngLayout& layout);

// JPEG through libjpeg from RGB rows (or CMYK with four components), top row first.
Bytes EncodeJpeg(int width, int height, int components, const std::vector<std::uint8_t>& samples,
                 int quality = 90, const Bytes& app1 = {});
// The reference decoding of a JPEG by libjpeg, as opaque pixels.
std::vector<raster::Pixel> ReferenceJpegPixels(const Bytes& jpeg);

// TIFF through libtiff, 8-bit samples (1 = grey, 3 = RGB), top row first.
Bytes EncodeTiff(int width, int height, int components, const std::vector<std::uint8_t>& samples,
                 int compression);

}  // namespace pavona::pictures::testing
