#include "package/legacy_io.h"

#include <algorithm>

#include "package/archive_error.h"

namespace pavona::package {

void RaiseLegacyCorrupt() { throw EZipBadCRC(); }

void TLegacyBitReader::Refill() {
  const std::size_t got = FInput.Read(FBytes.data(), FBytes.size());
  if (got == 0) throw platform::EStreamError(platform::TStreamFailure::Read);
  FNext = FBytes.data();
  FEnd = FNext + got;
}

void TLegacyOutput::Copy(std::size_t distance, std::size_t length) {
  length = static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(length), Remaining()));
  const auto back = static_cast<std::int64_t>(distance);
  for (; length > 0; --length) {
    const std::int64_t from = FPosition - back;
    Put(from >= 0 ? FBytes[static_cast<std::size_t>(from) & kMask] : 0);
  }
}

void TLegacyOutput::Flush() {
  const auto count = static_cast<std::size_t>(FPosition - FFlushed);
  FSink.Write(FBytes.get() + (static_cast<std::size_t>(FFlushed) & kMask), count);
  FFlushed = FPosition;
}

}  // namespace pavona::package
