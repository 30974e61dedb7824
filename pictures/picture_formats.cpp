#include "pictures/picture_formats.h"

#include "base/ascii.h"

#include <algorithm>
#include <cctype>

#include "pictures/bitmap_image.h"
#include "pictures/icon_image.h"
#include "pictures/jpeg_image.h"
#include "pictures/metafile.h"
#include "pictures/png_image.h"
#include "pictures/tiff_image.h"

namespace pavona::pictures {

namespace {


template <class Graphic>
std::unique_ptr<TGraphic> Create() {
  return std::make_unique<Graphic>();
}

}  // namespace

TFileFormatsList::TFileFormatsList() {
  Add("wmf", "Metafiles", 0, Create<TMetafile>);
  Add("emf", "Enhanced Metafiles", 0, Create<TMetafile>);
  Add("ico", "Icons", 0, Create<TIcon>);
  Add("tiff", "TIFF Images", 0, Create<TWICImage>);
  Add("tif", "TIFF Images", 0, Create<TWICImage>);
  Add("bmp", "Bitmaps", 0, Create<TBitmap>);
  Add("PNG", "Portable Network Graphics", 0, Create<TPngImage>);
  Add("jpeg", "JPEG Image File", 0, Create<TJPEGImage>);
  Add("jpg", "JPEG Image File", 0, Create<TJPEGImage>);
}

void TFileFormatsList::Add(const std::string& extension, const std::string& description,
                           int descResID, TGraphicClass graphicClass) {
  std::lock_guard lock(FMutex);
  FFormats.push_back({base::AsciiLowerCase(extension), description, graphicClass, descResID});
}

TGraphicClass TFileFormatsList::FindExt(const std::string& extension) const {
  const std::string wanted = base::AsciiLowerCase(extension);
  std::lock_guard lock(FMutex);
  const auto found = std::find_if(FFormats.rbegin(), FFormats.rend(),
                                  [&](const TFileFormat& f) { return f.Extension == wanted; });
  return found == FFormats.rend() ? nullptr : found->GraphicClass;
}

std::vector<TFileFormat> TFileFormatsList::Formats() const {
  std::lock_guard lock(FMutex);
  return FFormats;
}

TFileFormatsList& FileFormats() {
  static TFileFormatsList formats;
  return formats;
}

}  // namespace pavona::pictures
