#include "pictures/png_image.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <string>
#include <vector>

#include "pictures/byte_reader.h"

namespace pavona::pictures {

namespace {

const std::string kPrefix = "This \"Portable Network Graphics\" image is ";
const std::string kTruncated =
    kPrefix + "invalid because the decoder found an unexpected end of the file.";
const std::string kBadHeader = kPrefix + "not valid because it contains an invalid header.";
const std::string kTooLarge = kPrefix + "too large to be shown.";

// Everything libpng's callbacks and the setjmp stages share. libpng reports errors by
// longjmp, so the stages below hold no object with a destructor; the state that must survive a
// jump lives here, outside them.
struct PngState {
  png_structp png = nullptr;
  png_infop info = nullptr;
  std::span<const std::uint8_t> file;
  std::size_t position = 0;
  bool truncated = false;
  char message[256] = {};

  ~PngState() { png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr); }
};

[[noreturn]] void OnError(png_structp png, png_const_charp message) {
  auto* state = static_cast<PngState*>(png_get_error_ptr(png));
  std::strncpy(state->message, message != nullptr ? message : "", sizeof state->message - 1);
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void ReadData(png_structp png, png_bytep out, std::size_t count) {
  auto* state = static_cast<PngState*>(png_get_io_ptr(png));
  if (count > state->file.size() - state->position) {
    state->truncated = true;
    png_error(png, "unexpected end of file");
  }
  std::memcpy(out, state->file.data() + state->position, count);
  state->position += count;
}

// Reads the header and sets the transformations that give 8-bit B, G, R, A rows.
bool ReadHeader(PngState& s, bool& hasAlpha) {
  if (setjmp(png_jmpbuf(s.png))) return false;
  png_set_read_fn(s.png, &s, ReadData);
  png_set_user_limits(s.png, kMaxGraphicSide, kMaxGraphicSide);
  png_read_info(s.png, s.info);
  const int colorType = png_get_color_type(s.png, s.info);
  const int bitDepth = png_get_bit_depth(s.png, s.info);
  const bool hasTransparency = png_get_valid(s.png, s.info, PNG_INFO_tRNS) != 0;
  if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(s.png);
  if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(s.png);
  if (hasTransparency) png_set_tRNS_to_alpha(s.png);
  if (bitDepth == 16) png_set_scale_16(s.png);
  if ((colorType & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(s.png);
  png_set_bgr(s.png);
  hasAlpha = hasTransparency || (colorType & PNG_COLOR_MASK_ALPHA) != 0;
  if (!hasAlpha) png_set_filler(s.png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(s.png);
  png_read_update_info(s.png, s.info);
  return true;
}

bool ReadImage(PngState& s, png_bytepp rows) {
  if (setjmp(png_jmpbuf(s.png))) return false;
  png_read_image(s.png, rows);
  png_read_end(s.png, nullptr);
  return true;
}

[[noreturn]] void Fail(const PngState& s) {
  if (s.truncated) throw EPngError(kTruncated);
  throw EPngError(kPrefix + "invalid because the decoder reported: " + s.message + ".");
}

}  // namespace

void DecodePng(std::span<const std::uint8_t> file, raster::Bitmap& pixels, bool& hasAlpha) {
  if (file.size() < 8) throw EPngError(kTruncated);
  if (png_sig_cmp(file.data(), 0, 8) != 0) throw EPngError(kBadHeader);
  PngState s;
  s.file = file;
  s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &s, OnError, OnWarning);
  if (s.png == nullptr) throw std::bad_alloc();
  s.info = png_create_info_struct(s.png);
  if (s.info == nullptr) throw std::bad_alloc();

  bool alpha = false;
  if (!ReadHeader(s, alpha)) Fail(s);
  const png_uint_32 width = png_get_image_width(s.png, s.info);
  const png_uint_32 height = png_get_image_height(s.png, s.info);
  if (!IsAcceptableGraphicSize(width, height)) throw EPngError(kTooLarge);
  if (png_get_rowbytes(s.png, s.info) != std::size_t{width} * 4) {
    throw EPngError(kPrefix + "not supported because its rows do not convert to 32 bits.");
  }

  raster::Bitmap decoded(static_cast<int>(width), static_cast<int>(height));
  std::vector<png_bytep> rows(height);
  for (png_uint_32 y = 0; y < height; ++y) {
    rows[y] = reinterpret_cast<png_bytep>(decoded.scanline(static_cast<int>(y)));
  }
  if (!ReadImage(s, rows.data())) Fail(s);
  pixels = std::move(decoded);
  hasAlpha = alpha;
}

void TPngImage::LoadFromStream(platform::TStream& stream) {
  const std::vector<std::uint8_t> file = ReadRemaining(stream);
  raster::Bitmap pixels;
  bool hasAlpha = false;
  DecodePng(file, pixels, hasAlpha);
  SetPixels(std::move(pixels), hasAlpha);
}

std::unique_ptr<TGraphic> TPngImage::Clone() const {
  auto copy = std::make_unique<TPngImage>();
  copy->CopyPixelsFrom(*this);
  return copy;
}

}  // namespace pavona::pictures
