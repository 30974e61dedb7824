// Loads arbitrary bytes through the picture container by file extension: the first byte picks
// the extension, the rest is the file. Every registered decoder (PNG, JPEG and TIFF through their
// libraries) meets corrupt input, and what loads is drawn scaled.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "fuzz/scratch_folder.h"
#include "pictures/graphic.h"
#include "pictures/picture.h"
#include "pictures/png_image.h"
#include "platform/files.h"
#include "platform/stream.h"
#include "raster/bitmap.h"

using namespace pavona;

namespace {

const char* const kExtensions[] = {"bmp", "png", "jpg", "jpeg", "tif", "tiff", "ico"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string path = platform::JoinPath(
      fuzz::ScratchFolder(), std::string("picture.") + kExtensions[data[0] % std::size(kExtensions)]);
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
  try {
    pictures::TPicture picture;
    picture.LoadFromFile(path);
    raster::Bitmap canvas(32, 24);
    picture.Graphic()->Draw(canvas, raster::Rect{0, 0, 32, 24});
  } catch (const pictures::EInvalidGraphic&) {
  } catch (const pictures::EPngError&) {
  } catch (const platform::EStreamError&) {
  }
  platform::RemoveFile(path);
  return 0;
}
