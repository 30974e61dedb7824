#include "pictures/bitmap_image.h"

#include "pictures/byte_reader.h"
#include "pictures/dib.h"

namespace pavona::pictures {

namespace {

const std::string kInvalidBitmap = "Bitmap image is not valid";
constexpr std::size_t kFileHeaderSize = 14;

}  // namespace

void TBitmap::LoadFromStream(platform::TStream& stream) {
  const std::vector<std::uint8_t> file = ReadRemaining(stream);
  TByteReader in(file);
  if (in.U16() != 0x4D42) throw EInvalidGraphic(kInvalidBitmap);  // "BM"
  in.Skip(8);  // file size and reserved words, which writers do not fill reliably
  const std::uint32_t bitsOffset = in.U32();
  if (bitsOffset != 0 && bitsOffset < kFileHeaderSize) throw EInvalidGraphic(kInvalidBitmap);
  TDib dib = DecodeDib(std::span(file).subspan(kFileHeaderSize),
                       bitsOffset == 0 ? 0 : bitsOffset - kFileHeaderSize, TDibKind::File,
                       kInvalidBitmap);
  SetPixels(std::move(dib.Pixels), dib.HasAlpha);
}

std::unique_ptr<TGraphic> TBitmap::Clone() const {
  auto copy = std::make_unique<TBitmap>();
  copy->CopyPixelsFrom(*this);
  return copy;
}

}  // namespace pavona::pictures
