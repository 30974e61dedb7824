// Writes a bitmap as a baseline JPEG file, RGB, at a given quality (the fourth byte of each
// pixel is dropped).
#pragma once

#include <stdexcept>
#include <string>

#include "raster/bitmap.h"

namespace pavona::pictures {

class EJpegWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Quality 1 to 100 as libjpeg counts it. Raises EJpegWriteError when the file cannot be made.
void WriteJpegFile(const std::string& fileName, const raster::Bitmap& bitmap, int quality);

}  // namespace pavona::pictures
