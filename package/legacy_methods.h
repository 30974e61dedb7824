// The legacy ZIP methods: Shrink (1), Reduce (2 to 5) and Implode (6). Each decoder produces
// exactly `size` bytes into sink, through a 32768-byte buffer. Data that ends early raises the
// platform's read error; data no encoder writes raises EZipBadCRC.
#pragma once

#include <cstdint>

#include "platform/stream.h"

namespace pavona::package {

class TZipItem;

// Dynamic LZW of 9 to 13 bit codes with partial clearing.
void Unshrink(platform::TStream& input, platform::TStream& sink, std::int64_t size);
// Follower sets and the repeat expansion of compression factor 1 to 4.
void Unreduce(platform::TStream& input, platform::TStream& sink, std::int64_t size, int factor);
// A 4 KiB or 8 KiB sliding dictionary coded with Shannon-Fano trees; with the literal tree
// (three trees) matches are at least 3 bytes long, else 2.
void Explode(platform::TStream& input, platform::TStream& sink, std::int64_t size,
             bool largeDictionary, bool literalTree);

// The method table's decoders: method and options from the item.
void DecodeShrunk(const TZipItem& item, platform::TStream& input, platform::TStream& sink);
void DecodeReduced(const TZipItem& item, platform::TStream& input, platform::TStream& sink);
void DecodeImploded(const TZipItem& item, platform::TStream& input, platform::TStream& sink);

}  // namespace pavona::package
