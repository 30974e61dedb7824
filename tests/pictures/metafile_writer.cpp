#include "tests/pictures/metafile_writer.h"

#include <algorithm>
#include <bit>

namespace pavona::pictures::testing {

namespace {

constexpr int kSide = 24;
constexpr std::int32_t kFrame = kSide * 2540 / 96;  // 0.01 mm

}  // namespace

std::int32_t FloatBits(float value) { return std::bit_cast<std::int32_t>(value); }

void Put16(MetafileBytes& out, int value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(MetafileBytes& out, std::int64_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

EmfWriter& EmfWriter::Record(std::uint32_t type, std::initializer_list<std::int32_t> params) {
  MetafileBytes bytes;
  for (std::int32_t p : params) Put32(bytes, p);
  return Raw(type, bytes);
}

EmfWriter& EmfWriter::Raw(std::uint32_t type, const MetafileBytes& params) {
  MetafileBytes padded = params;
  while (padded.size() % 4) padded.push_back(0);
  Put32(FRecords, type);
  Put32(FRecords, static_cast<std::int64_t>(padded.size() + 8));
  FRecords.insert(FRecords.end(), padded.begin(), padded.end());
  ++FCount;
  return *this;
}

MetafileBytes EmfWriter::Finish() const {
  MetafileBytes out;
  Put32(out, 1);                                  // header record
  Put32(out, 88);                                 // its size
  for (int v : {0, 0, kSide - 1, kSide - 1}) Put32(out, v);  // bounds, device pixels
  for (int v : {0, 0, kFrame, kFrame}) Put32(out, v);        // frame, 0.01 mm
  Put32(out, 0x464D4520);                         // " EMF"
  Put32(out, 0x10000);                            // version
  Put32(out, static_cast<std::int64_t>(88 + FRecords.size() + 20));  // bytes
  Put32(out, FCount + 2);                         // records
  Put16(out, 8);                                  // handles
  Put16(out, 0);
  Put32(out, 0);                                  // description
  Put32(out, 0);
  Put32(out, 0);                                  // palette entries
  Put32(out, 960);                                // reference device: 960 x 960 pixels
  Put32(out, 960);
  Put32(out, 254);                                // over 254 x 254 mm
  Put32(out, 254);
  out.insert(out.end(), FRecords.begin(), FRecords.end());
  Put32(out, 14);                                 // end of file
  Put32(out, 20);
  Put32(out, 0);
  Put32(out, 16);
  Put32(out, 20);
  return out;
}

WmfWriter& WmfWriter::Record(std::uint16_t function, std::initializer_list<int> words) {
  MetafileBytes bytes;
  for (int w : words) Put16(bytes, w);
  return Raw(function, bytes);
}

WmfWriter& WmfWriter::Raw(std::uint16_t function, const MetafileBytes& params) {
  MetafileBytes padded = params;
  if (padded.size() % 2) padded.push_back(0);
  const std::uint32_t words = static_cast<std::uint32_t>(padded.size() / 2 + 3);
  Put32(FRecords, words);
  Put16(FRecords, function);
  FRecords.insert(FRecords.end(), padded.begin(), padded.end());
  FLargest = std::max(FLargest, words);
  return *this;
}

MetafileBytes WmfWriter::Finish(bool placeable) const {
  MetafileBytes out;
  if (placeable) {
    MetafileBytes header;
    Put32(header, 0x9AC6CDD7);
    Put16(header, 0);                                  // handle
    for (int v : {0, 0, kSide, kSide}) Put16(header, v);  // box
    Put16(header, 96);                                 // units an inch
    Put32(header, 0);
    int checksum = 0;
    for (std::size_t i = 0; i < header.size(); i += 2) checksum ^= header[i] | (header[i + 1] << 8);
    Put16(header, checksum);
    out = header;
  }
  Put16(out, 1);      // in memory
  Put16(out, 9);      // header words
  Put16(out, 0x300);  // version
  Put32(out, static_cast<std::int64_t>(9 + FRecords.size() / 2 + 3));
  Put16(out, 8);      // objects
  Put32(out, FLargest);
  Put16(out, 0);
  out.insert(out.end(), FRecords.begin(), FRecords.end());
  Put32(out, 3);      // end of file
  Put16(out, 0);
  return out;
}

MetafileBytes Dib24(const std::vector<std::vector<std::uint32_t>>& rows) {
  const int height = static_cast<int>(rows.size());
  const int width = static_cast<int>(rows.front().size());
  MetafileBytes dib;
  Put32(dib, 40);
  Put32(dib, width);
  Put32(dib, height);
  Put16(dib, 1);
  Put16(dib, 24);
  for (int i = 0; i < 6; ++i) Put32(dib, 0);
  for (int y = height - 1; y >= 0; --y) {
    std::size_t rowBytes = 0;
    for (std::uint32_t p : rows[y]) {
      dib.push_back(static_cast<std::uint8_t>(p));
      dib.push_back(static_cast<std::uint8_t>(p >> 8));
      dib.push_back(static_cast<std::uint8_t>(p >> 16));
      rowBytes += 3;
    }
    while (rowBytes++ % 4) dib.push_back(0);
  }
  return dib;
}

}  // namespace pavona::pictures::testing
