#include "package/inflate.h"

#include <memory>

#include "package/inflate_corrupt.h"
#include "package/inflate_decoder.h"

namespace pavona::package {

EInflateError::EInflateError(const std::string& cause)
    : EArchiveException("Inflate error, possibly a corrupted compressed stream. (Internal cause: " +
                        cause + ")") {}

void RaiseInflateCause(const char* cause) { throw EInternalInflateError(cause); }

std::uint32_t InflateStream(platform::TStream& input, platform::TStream& output,
                            const TDeflateHelper& options) {
  try {
    // The decoder's tables and buffers take about 170 KiB: too much for the stack.
    auto inflater = std::make_unique<TInflater>(input, output, options);
    inflater->Run();
  } catch (const EInternalInflateError& error) {
    throw EInflateError(error.what());
  }
  return 0;
}

}  // namespace pavona::package
