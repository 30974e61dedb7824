// Writes a bitmap as an 8-bit RGB PNG file (the fourth byte of each pixel is dropped).
#pragma once

#include <stdexcept>
#include <string>

#include "raster/bitmap.h"

namespace pavona::pictures {

class EPngWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Raises EPngWriteError when the file cannot be created or written.
void WritePngFile(const std::string& fileName, const raster::Bitmap& bitmap);

}  // namespace pavona::pictures
