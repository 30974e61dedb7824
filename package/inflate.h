// The Deflate and Deflate64 decoder used for ZIP methods 8 and 9.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "package/archive_error.h"
#include "platform/stream.h"

namespace pavona::package {

// TDeflateHelper::Options bit that selects the Deflate64 variant (64 KiB window, distance codes
// 30 and 31, length symbol 285 with 16 extra bits).
inline constexpr std::uint32_t kDeflateOptionDeflate64 = 0x10;

struct TDeflateHelper {
  std::uint32_t Options = 0;
  // Bytes of compressed data the decoder may read from its input; negative means "until the
  // input stream ends".
  std::int64_t StreamSize = -1;
};

// Raised inside the decoder for corrupt or truncated data; InflateStream never lets it escape
// and reports it as EInflateError instead.
class EInternalInflateError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The only decoder failure callers see. Its message wraps the internal cause:
// "Inflate error, possibly a corrupted compressed stream. (Internal cause: <cause>)".
class EInflateError : public EArchiveException {
 public:
  explicit EInflateError(const std::string& cause);
};

// Decodes one raw Deflate stream (Deflate64 with kDeflateOptionDeflate64) from input into output,
// stopping after the final block. Input is read in blocks of 16384 bytes, never more than
// options.StreamSize bytes when that is not negative; output is written in pieces of 32768 bytes
// (the last one shorter). Errors of the streams themselves (EStreamError and whatever the output
// raises) pass through unchanged. Returns 0: the caller checks its data through its output sink.
std::uint32_t InflateStream(platform::TStream& input, platform::TStream& output,
                            const TDeflateHelper& options);

}  // namespace pavona::package
