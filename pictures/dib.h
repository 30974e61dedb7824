// The device-independent bitmap shared by BMP files and icons: an info header (core, info or
// one of its longer versions), optional colour masks, a colour table and the pixel bits
// (1, 4, 8, 16, 24 or 32 bits a pixel; uncompressed, RLE8, RLE4 or bit fields; bottom-up or
// top-down rows).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "raster/bitmap.h"

namespace pavona::pictures {

enum class TDibKind {
  File,  // a BMP file: the fourth byte of 32-bit pixels is alpha only when a mask says so
  Icon,  // an icon image: the header counts two images (colours and AND mask), and the fourth
         // byte of 32-bit pixels is alpha
};

struct TDib {
  raster::Bitmap Pixels;  // fourth byte: alpha (255 where the picture has none)
  bool HasAlpha = false;  // some pixel is not opaque
};

// Decodes the DIB at the start of dib. bitsOffset is where the pixel bits start, counted from
// the header; 0 means right after the colour table. Raises EInvalidGraphic(invalidMessage) for
// a malformed header and the stream read error when the bits are cut short.
TDib DecodeDib(std::span<const std::uint8_t> dib, std::size_t bitsOffset, TDibKind kind,
               const std::string& invalidMessage);

}  // namespace pavona::pictures
