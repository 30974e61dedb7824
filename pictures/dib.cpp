#include "pictures/dib.h"

#include <array>
#include <bit>
#include <cstdlib>

#include "pictures/byte_reader.h"
#include "pictures/graphic.h"
#include "pictures/graphic_raster.h"

namespace pavona::pictures {

namespace {

using raster::Pixel;

constexpr Pixel kOpaque = 0xFF000000;

enum Compression : std::uint32_t {
  kRgb = 0,
  kRle8 = 1,
  kRle4 = 2,
  kBitFields = 3,
  kAlphaBitFields = 6,
};

struct Header {
  std::uint32_t size = 0;
  long long width = 0;
  long long height = 0;  // of the colour image, positive
  bool topDown = false;
  int bitCount = 0;
  std::uint32_t compression = kRgb;
  std::uint32_t sizeImage = 0;
  std::uint32_t colorsUsed = 0;
  std::size_t paletteEntrySize = 4;
  std::array<std::uint32_t, 4> masks{};  // red, green, blue, alpha
};

// One colour channel selected by a bit mask, scaled to eight bits.
class Channel {
 public:
  explicit Channel(std::uint32_t mask) : FMask(mask) {
    if (mask != 0) {
      FShift = std::countr_zero(mask);
      FMax = mask >> FShift;
    }
  }
  std::uint32_t operator()(std::uint32_t value) const {
    const std::uint32_t c = (value & FMask) >> FShift;
    if (FMax == 255) return c;
    if (FMax == 0) return 0;
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(c) * 255 + FMax / 2) / FMax);
  }
  bool present() const { return FMax != 0; }

 private:
  std::uint32_t FMask = 0;
  int FShift = 0;
  std::uint32_t FMax = 0;
};

struct Channels {
  Channel red, green, blue, alpha;
  Pixel operator()(std::uint32_t v) const {
    const std::uint32_t a = alpha.present() ? alpha(v) : 255;
    return (a << 24) | (red(v) << 16) | (green(v) << 8) | blue(v);
  }
};

class Decoder {
 public:
  Decoder(std::span<const std::uint8_t> dib, TDibKind kind, const std::string& invalidMessage)
      : FIn(dib), FKind(kind), FInvalidMessage(invalidMessage) {}

  TDib Decode(std::size_t bitsOffset) {
    ReadHeader();
    ReadPalette(bitsOffset);
    TDib result;
    result.Pixels = raster::Bitmap(static_cast<int>(FH.width), static_cast<int>(FH.height));
    if (FH.compression == kRle8 || FH.compression == kRle4) {
      result.Pixels.fill(kOpaque);  // pixels the runs skip stay black
      DecodeRle(result.Pixels);
    } else {
      DecodeRows(result.Pixels);
    }
    result.HasAlpha = ResolveAlpha(result.Pixels);
    if (FKind == TDibKind::Icon && !result.HasAlpha) result.HasAlpha = ApplyMask(result.Pixels);
    return result;
  }

 private:
  void Check(bool ok) const {
    if (!ok) throw EInvalidGraphic(FInvalidMessage);
  }

  void ReadHeader() {
    FH.size = FIn.U32();
    if (FH.size == 12) {
      FH.width = FIn.U16();
      FH.height = FIn.U16();
      FIn.U16();  // planes
      FH.bitCount = FIn.U16();
      FH.paletteEntrySize = 3;
    } else {
      Check(FH.size == 40 || FH.size == 52 || FH.size == 56 || FH.size == 108 || FH.size == 124);
      FH.width = FIn.I32();
      FH.height = FIn.I32();
      FIn.U16();  // planes
      FH.bitCount = FIn.U16();
      FH.compression = FIn.U32();
      FH.sizeImage = FIn.U32();
      FIn.Skip(8);  // resolution
      FH.colorsUsed = FIn.U32();
      FIn.Skip(4);  // important colours
      const bool bitFields = FH.compression == kBitFields || FH.compression == kAlphaBitFields;
      // A plain info header is followed by the masks; the longer headers hold them.
      int maskCount = 0;
      if (FH.size >= 56) {
        maskCount = 4;
      } else if (FH.size == 52) {
        maskCount = 3;
      } else if (bitFields) {
        maskCount = FH.compression == kAlphaBitFields ? 4 : 3;
      }
      for (int i = 0; i < maskCount; ++i) FH.masks[i] = FIn.U32();
      FIn.Seek(FH.size + (FH.size == 40 ? maskCount * 4u : 0u));
      if (!bitFields) FH.masks = {};
    }
    if (FH.height < 0) {
      FH.height = -FH.height;
      FH.topDown = true;
    }
    if (FKind == TDibKind::Icon) {
      Check(!FH.topDown);
      FH.height /= 2;  // the colour image and the AND mask
    }
    const int bits = FH.bitCount;
    Check(bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32);
    switch (FH.compression) {
      case kRgb: break;
      case kRle8: Check(bits == 8 && !FH.topDown && FKind == TDibKind::File); break;
      case kRle4: Check(bits == 4 && !FH.topDown && FKind == TDibKind::File); break;
      case kBitFields:
      case kAlphaBitFields: Check(bits == 16 || bits == 32); break;
      default: Check(false);
    }
    Check(IsAcceptableGraphicSize(FH.width, FH.height));
  }

  void ReadPalette(std::size_t bitsOffset) {
    const std::size_t headerEnd = FIn.Position();
    std::uint64_t entries = FH.colorsUsed;
    if (entries == 0 && FH.bitCount <= 8) entries = 1u << FH.bitCount;
    if (bitsOffset != 0) {
      Check(bitsOffset >= headerEnd);
      // Writers often keep only the colours used and let the bits follow at once.
      entries = std::min<std::uint64_t>(entries, (bitsOffset - headerEnd) / FH.paletteEntrySize);
    }
    if (FH.bitCount <= 8) {
      const std::uint64_t used = std::min<std::uint64_t>(entries, 1u << FH.bitCount);
      for (std::uint64_t i = 0; i < used; ++i) {
        const auto e = FIn.Take(FH.paletteEntrySize);
        FPalette[i] = kOpaque | (Pixel{e[2]} << 16) | (Pixel{e[1]} << 8) | e[0];
      }
    }
    if (bitsOffset != 0) {
      FIn.Seek(bitsOffset);
    } else {
      const std::uint64_t tableBytes = entries * FH.paletteEntrySize;
      if (tableBytes > FIn.Remaining() + (FIn.Position() - headerEnd)) ThrowReadError();
      FIn.Seek(headerEnd + static_cast<std::size_t>(tableBytes));
    }
  }

  Channels MakeChannels() const {
    if (FH.compression == kBitFields || FH.compression == kAlphaBitFields) {
      return {Channel(FH.masks[0]), Channel(FH.masks[1]), Channel(FH.masks[2]),
              Channel(FH.masks[3])};
    }
    if (FH.bitCount == 16) return {Channel(0x7C00), Channel(0x03E0), Channel(0x001F), Channel(0)};
    // Icons keep their alpha in the fourth byte; in a BMP file it carries no colour.
    return {Channel(0xFF0000), Channel(0xFF00), Channel(0xFF),
            Channel(FKind == TDibKind::Icon ? 0xFF000000 : 0)};
  }

  Pixel* Row(raster::Bitmap& pixels, std::size_t storageRow) const {
    const int r = static_cast<int>(storageRow);
    return pixels.scanline(FH.topDown ? r : pixels.height() - 1 - r);
  }

  void DecodeRows(raster::Bitmap& pixels) {
    const std::size_t w = static_cast<std::size_t>(FH.width);
    const std::size_t stride = (w * FH.bitCount + 31) / 32 * 4;
    const std::size_t rows = static_cast<std::size_t>(FH.height);
    const auto bits = FIn.Take(stride * rows);
    const Channels channels = MakeChannels();
    for (std::size_t r = 0; r < rows; ++r) {
      const std::uint8_t* src = bits.data() + r * stride;
      Pixel* out = Row(pixels, r);
      switch (FH.bitCount) {
        case 1:
          for (std::size_t x = 0; x < w; ++x) {
            out[x] = FPalette[(src[x >> 3] >> (7 - (x & 7))) & 1];
          }
          break;
        case 4:
          for (std::size_t x = 0; x < w; ++x) {
            out[x] = FPalette[(src[x >> 1] >> (x & 1 ? 0 : 4)) & 15];
          }
          break;
        case 8:
          for (std::size_t x = 0; x < w; ++x) out[x] = FPalette[src[x]];
          break;
        case 16:
          for (std::size_t x = 0; x < w; ++x) out[x] = channels(src[2 * x] | (src[2 * x + 1] << 8));
          break;
        case 24:
          for (std::size_t x = 0; x < w; ++x) {
            const std::uint8_t* p = src + 3 * x;
            out[x] = kOpaque | (Pixel{p[2]} << 16) | (Pixel{p[1]} << 8) | p[0];
          }
          break;
        case 32:
          for (std::size_t x = 0; x < w; ++x) {
            const std::uint8_t* p = src + 4 * x;
            out[x] =
                channels(p[0] | (Pixel{p[1]} << 8) | (Pixel{p[2]} << 16) | (Pixel{p[3]} << 24));
          }
          break;
      }
    }
  }

  // Runs and escapes of RLE8 and RLE4. Pixels outside the picture are dropped, so no run or
  // delta can write outside the bitmap. Data that ends without its end-of-bitmap mark leaves
  // the rest of the picture black, as an interrupted run would.
  void DecodeRle(raster::Bitmap& pixels) {
    const std::size_t size =
        FH.sizeImage != 0 && FH.sizeImage <= FIn.Remaining() ? FH.sizeImage : FIn.Remaining();
    TByteReader rle(FIn.Take(size));
    const bool four = FH.compression == kRle4;
    const long long w = FH.width;
    const long long h = FH.height;
    long long x = 0;
    long long row = 0;  // counted from the bottom
    auto put = [&](unsigned index) {
      if (x < w && row < h) Row(pixels, static_cast<std::size_t>(row))[x] = FPalette[index];
      ++x;
    };
    while (row < h && rle.Remaining() >= 2) {
      const unsigned count = rle.U8();
      const unsigned value = rle.U8();
      if (count != 0) {
        for (unsigned i = 0; i < count; ++i) put(!four ? value : i & 1 ? value & 15 : value >> 4);
        continue;
      }
      if (value == 0) {  // end of line
        x = 0;
        ++row;
      } else if (value == 1) {  // end of bitmap
        return;
      } else if (value == 2) {  // delta
        if (rle.Remaining() < 2) return;
        x += rle.U8();
        row += rle.U8();
      } else {  // absolute run, padded to a 16-bit boundary
        const std::size_t bytes = four ? (value + 1) / 2 : value;
        if (rle.Remaining() < bytes) return;
        const auto data = rle.Take(bytes);
        for (unsigned i = 0; i < value; ++i) {
          put(!four ? data[i] : i & 1 ? data[i / 2] & 15 : data[i / 2] >> 4);
        }
        if ((bytes & 1) != 0 && rle.Remaining() > 0) rle.Skip(1);
      }
    }
  }

  // Pictures whose alpha is zero everywhere were written by programs that leave the fourth byte
  // unused; they are shown opaque.
  static bool ResolveAlpha(raster::Bitmap& pixels) {
    bool anyVisible = false;
    bool anyTransparent = false;
    for (std::size_t i = 0; i < pixels.pixel_count(); ++i) {
      const Pixel a = pixels.data()[i] >> 24;
      anyVisible |= a != 0;
      anyTransparent |= a != 255;
    }
    if (!anyVisible) {
      for (std::size_t i = 0; i < pixels.pixel_count(); ++i) pixels.data()[i] |= kOpaque;
      return false;
    }
    return anyTransparent;
  }

  // The AND mask after the colour bits: a set bit leaves the pixel below as it was.
  bool ApplyMask(raster::Bitmap& pixels) {
    const std::size_t w = static_cast<std::size_t>(FH.width);
    const std::size_t stride = (w + 31) / 32 * 4;
    const std::size_t rows = static_cast<std::size_t>(FH.height);
    const auto bits = FIn.Take(stride * rows);
    bool any = false;
    for (std::size_t r = 0; r < rows; ++r) {
      const std::uint8_t* src = bits.data() + r * stride;
      Pixel* out = Row(pixels, r);
      for (std::size_t x = 0; x < w; ++x) {
        if ((src[x >> 3] >> (7 - (x & 7))) & 1) {
          out[x] &= ~kOpaque;
          any = true;
        }
      }
    }
    return any;
  }

  TByteReader FIn;
  TDibKind FKind;
  const std::string& FInvalidMessage;
  Header FH;
  std::array<Pixel, 256> FPalette = [] {
    std::array<Pixel, 256> p{};
    p.fill(kOpaque);
    return p;
  }();
};

}  // namespace

TDib DecodeDib(std::span<const std::uint8_t> dib, std::size_t bitsOffset, TDibKind kind,
               const std::string& invalidMessage) {
  return Decoder(dib, kind, invalidMessage).Decode(bitsOffset);
}

}  // namespace pavona::pictures
