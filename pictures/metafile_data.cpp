#include "pictures/metafile_data.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "pictures/byte_reader.h"
#include "pictures/graphic.h"
#include "pictures/graphic_raster.h"

namespace pavona::pictures {

const char* const kInvalidMetafile = "Metafile is not valid";

namespace {

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr std::uint32_t kEmrHeader = 1;
constexpr std::uint32_t kEmrEof = 14;
constexpr std::uint16_t kMetaSetWindowExt = 0x020C;
constexpr std::uint16_t kMetaSetWindowOrg = 0x020B;
constexpr double kPixelsPerInch = 96;
// A plain Windows metafile gives no size: its window is taken in pixels, brought down to this
// on its longer side.
constexpr double kMaxPlainSide = 4096;

void Check(bool ok) {
  if (!ok) throw EInvalidGraphic(kInvalidMetafile);
}

std::int16_t I16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::int16_t>(b[at] | (b[at + 1] << 8));
}

std::int32_t I32(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::int32_t>(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
                                   (static_cast<std::uint32_t>(b[at + 3]) << 24));
}

void SetSize(TMetafileData& data, double width, double height) {
  const long long w = std::llround(std::fabs(width));
  const long long h = std::llround(std::fabs(height));
  Check(std::isfinite(width) && std::isfinite(height) && IsAcceptableGraphicSize(w, h));
  data.Width = static_cast<int>(w);
  data.Height = static_cast<int>(h);
}

void ParseWmf(TMetafileData& data) {
  TByteReader in(data.Bytes);
  bool placeable = false;
  int box[4] = {};
  int inch = 0;
  if (in.Remaining() >= 4 && in.U32() == kPlaceableKey) {
    placeable = true;
    in.U16();  // handle
    for (int& v : box) v = static_cast<std::int16_t>(in.U16());
    inch = in.U16();
    in.Skip(6);  // reserved, checksum
  } else {
    in.Seek(0);
  }
  const std::uint16_t type = in.U16();
  const std::uint16_t headerWords = in.U16();
  in.U16();  // version
  in.U32();  // size in words
  data.ObjectCount = in.U16();
  in.Skip(6);  // largest record, unused parameter count
  Check((type == 1 || type == 2) && headerWords == 9);
  // Writers leave the size unset or count the placeable header in it: the records run to the
  // end of the file, and each of them must fit.
  const std::size_t end = data.Bytes.size();

  bool haveExt = false, haveOrg = false;
  std::size_t at = in.Position();
  while (end - at >= 6) {
    TByteReader record(std::span(data.Bytes).subspan(at, end - at));
    const std::uint32_t words = record.U32();
    const std::uint16_t function = record.U16();
    Check(words >= 3 && std::uint64_t{words} * 2 <= end - at);
    if (function == 0) break;  // end of file
    const auto params = std::span(data.Bytes).subspan(at + 6, std::size_t{words} * 2 - 6);
    data.Records.push_back({function, params});
    if (params.size() >= 4 && function == kMetaSetWindowExt && !haveExt) {
      data.WindowExt = {double(I16(params, 2)), double(I16(params, 0))};
      haveExt = true;
    }
    if (params.size() >= 4 && function == kMetaSetWindowOrg && !haveOrg) {
      data.WindowOrg = {double(I16(params, 2)), double(I16(params, 0))};
      haveOrg = true;
    }
    at += std::size_t{words} * 2;
  }

  if (placeable) {
    Check(inch > 0);
    const double w = box[2] - box[0], h = box[3] - box[1];
    SetSize(data, w * kPixelsPerInch / inch, h * kPixelsPerInch / inch);
    data.WindowOrg = {double(box[0]), double(box[1])};
    data.WindowExt = {w, h};
    Check(w != 0 && h != 0);
    return;
  }
  Check(haveExt && data.WindowExt.X != 0 && data.WindowExt.Y != 0);
  const double longer = std::max(std::fabs(data.WindowExt.X), std::fabs(data.WindowExt.Y));
  const double scale = longer > kMaxPlainSide ? kMaxPlainSide / longer : 1;
  SetSize(data, std::max(1.0, std::fabs(data.WindowExt.X) * scale),
          std::max(1.0, std::fabs(data.WindowExt.Y) * scale));
}

void ParseEmf(TMetafileData& data) {
  const auto bytes = std::span<const std::uint8_t>(data.Bytes);
  Check(bytes.size() >= 88 && I32(bytes, 0) == static_cast<std::int32_t>(kEmrHeader));
  const std::uint32_t headerSize = static_cast<std::uint32_t>(I32(bytes, 4));
  Check(headerSize >= 88 && headerSize <= bytes.size());
  Check(static_cast<std::uint32_t>(I32(bytes, 40)) == kEmfSignature);
  const std::uint32_t total = static_cast<std::uint32_t>(I32(bytes, 48));
  Check(total >= headerSize && total <= bytes.size());
  data.ObjectCount = static_cast<std::uint16_t>(bytes[56] | (bytes[57] << 8));
  const double bounds[4] = {double(I32(bytes, 8)), double(I32(bytes, 12)), double(I32(bytes, 16)),
                            double(I32(bytes, 20))};
  const double frame[4] = {double(I32(bytes, 24)), double(I32(bytes, 28)), double(I32(bytes, 32)),
                           double(I32(bytes, 36))};
  data.DevicePx = {double(I32(bytes, 72)), double(I32(bytes, 76))};
  data.DeviceMm = {double(I32(bytes, 80)), double(I32(bytes, 84))};
  // A reference device that makes no sense is taken as a screen of 96 pixels an inch.
  if (!(data.DevicePx.X > 0 && data.DevicePx.Y > 0 && data.DeviceMm.X > 0 &&
        data.DeviceMm.Y > 0)) {
    data.DevicePx = {1, 1};
    data.DeviceMm = {25.4 / kPixelsPerInch, 25.4 / kPixelsPerInch};
  }

  std::size_t at = headerSize;
  bool ended = false;
  while (total - at >= 8) {
    const std::uint32_t type = static_cast<std::uint32_t>(I32(bytes, at));
    const std::uint32_t size = static_cast<std::uint32_t>(I32(bytes, at + 4));
    Check(size >= 8 && size <= total - at);
    if (type == kEmrEof) {
      ended = true;
      break;
    }
    data.Records.push_back({type, bytes.subspan(at + 8, size - 8)});
    at += size;
  }
  Check(ended);

  const double pxPerMmX = data.DevicePx.X / data.DeviceMm.X;
  const double pxPerMmY = data.DevicePx.Y / data.DeviceMm.Y;
  if (frame[2] > frame[0] && frame[3] > frame[1]) {
    SetSize(data, (frame[2] - frame[0]) * kPixelsPerInch / 2540,
            (frame[3] - frame[1]) * kPixelsPerInch / 2540);
    data.FrameLeft = frame[0] / 100 * pxPerMmX;
    data.FrameTop = frame[1] / 100 * pxPerMmY;
    data.FrameRight = frame[2] / 100 * pxPerMmX;
    data.FrameBottom = frame[3] / 100 * pxPerMmY;
    return;
  }
  // No frame: the bounds, in device pixels, are the picture.
  Check(bounds[2] >= bounds[0] && bounds[3] >= bounds[1]);
  data.FrameLeft = bounds[0];
  data.FrameTop = bounds[1];
  data.FrameRight = bounds[2] + 1;
  data.FrameBottom = bounds[3] + 1;
  SetSize(data, (data.FrameRight - data.FrameLeft) / pxPerMmX * kPixelsPerInch / 25.4,
          (data.FrameBottom - data.FrameTop) / pxPerMmY * kPixelsPerInch / 25.4);
}

}  // namespace

TMetafileData ParseMetafile(std::vector<std::uint8_t> bytes) {
  TMetafileData data;
  data.Bytes = std::move(bytes);
  try {
    data.Enhanced = data.Bytes.size() >= 44 && I32(data.Bytes, 0) == 1 &&
                    static_cast<std::uint32_t>(I32(data.Bytes, 40)) == kEmfSignature;
    if (data.Enhanced) {
      ParseEmf(data);
    } else {
      ParseWmf(data);
    }
  } catch (const platform::EStreamError&) {
    throw EInvalidGraphic(kInvalidMetafile);
  }
  return data;
}

}  // namespace pavona::pictures
