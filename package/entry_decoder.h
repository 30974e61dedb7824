// Opening an entry's data and decoding it into an output file.
#pragma once

#include <cstdint>
#include <memory>

#include "package/zip_archive.h"
#include "platform/stream.h"

namespace pavona::package {

// Whether DecodeEntry has a decoder for this method.
bool IsSupportedMethod(std::uint16_t method);

// Positions the package at the entry's data (after its local header) and returns the stream the
// decoder reads: a bounded view of the data, decrypting when the entry is encrypted.
std::unique_ptr<platform::TStream> OpenEntryData(TZipArchive& archive, TZipItem& item);

// Decodes the entry into output through the CRC-32 sink and compares the CRC-32. Entries of size
// 0 are not decoded. A CRC mismatch goes to OnProcessItemFailure when assigned (the entry then
// counts as done), else raises EZipBadCRC.
void DecodeEntry(TZipArchive& archive, TZipItem& item, platform::TStream& input,
                 platform::TStream& output);

// The codecs behind the method table; each writes at most `size` bytes into sink.
void DecodeStored(platform::TStream& input, platform::TStream& sink, std::int64_t size);
void DecodeBzip2(platform::TStream& input, platform::TStream& sink, std::int64_t size);
void DecodeLzma(platform::TStream& input, platform::TStream& sink, std::int64_t size);
void DecodeWavPack(platform::TStream& input, platform::TStream& sink, std::int64_t size);
void DecodePPMd(platform::TStream& input, platform::TStream& sink, std::int64_t size);

}  // namespace pavona::package
