#include "pictures/icon_image.h"

#include <algorithm>
#include <string>
#include <vector>

#include "pictures/byte_reader.h"
#include "pictures/dib.h"
#include "pictures/png_image.h"

namespace pavona::pictures {

namespace {

const std::string kInvalidIcon = "Icon image is not valid";
constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

struct Entry {
  int area = 0;
  int bitCount = 0;
  std::uint32_t size = 0;
  std::uint32_t offset = 0;
};

Entry ReadEntry(TByteReader& in) {
  Entry e;
  const int width = in.U8();
  const int height = in.U8();
  in.Skip(4);  // colour count, reserved, planes
  e.bitCount = in.U16();
  e.size = in.U32();
  e.offset = in.U32();
  e.area = (width == 0 ? 256 : width) * (height == 0 ? 256 : height);  // 0 stands for 256
  return e;
}

}  // namespace

void TIcon::LoadFromStream(platform::TStream& stream) {
  const std::vector<std::uint8_t> file = ReadRemaining(stream);
  TByteReader in(file);
  const std::uint16_t reserved = in.U16();
  const std::uint16_t type = in.U16();
  const std::uint16_t count = in.U16();
  if (reserved != 0 || type != 1 || count == 0) throw EInvalidGraphic(kInvalidIcon);
  Entry best = ReadEntry(in);
  for (int i = 1; i < count; ++i) {
    const Entry e = ReadEntry(in);
    if (e.area > best.area || (e.area == best.area && e.bitCount > best.bitCount)) best = e;
  }
  // Writers overstate the size of the last image now and then; the file's end bounds it.
  if (best.offset >= file.size()) ThrowReadError();
  const auto image = std::span(file).subspan(
      best.offset, std::min<std::size_t>(best.size, file.size() - best.offset));

  raster::Bitmap pixels;
  bool hasAlpha = false;
  if (image.size() >= 8 && std::equal(image.begin(), image.begin() + 8, kPngSignature)) {
    try {
      DecodePng(image, pixels, hasAlpha);
    } catch (const EPngError&) {
      throw EInvalidGraphic(kInvalidIcon);
    }
  } else {
    TDib dib = DecodeDib(image, 0, TDibKind::Icon, kInvalidIcon);
    pixels = std::move(dib.Pixels);
    hasAlpha = dib.HasAlpha;
  }
  SetPixels(std::move(pixels), hasAlpha);
}

std::unique_ptr<TGraphic> TIcon::Clone() const {
  auto copy = std::make_unique<TIcon>();
  copy->CopyPixelsFrom(*this);
  return copy;
}

}  // namespace pavona::pictures
