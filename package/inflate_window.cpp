#include "package/inflate_window.h"

#include <algorithm>

namespace pavona::package {

TDfOutputWindow::TDfOutputWindow(platform::TStream& output, bool deflate64)
    : FOutput(output),
      FLimit(deflate64 ? 98304 : 65536),
      FBytes(std::make_unique_for_overwrite<std::uint8_t[]>(FLimit + kMaxRun + kCopyOvershoot)) {}

void TDfOutputWindow::Flush() {
  FOutput.Write(FBytes.get(), kFlushSize);
  std::memmove(FBytes.get(), FBytes.get() + kFlushSize, FPosition - kFlushSize);
  FPosition -= kFlushSize;
}

void TDfOutputWindow::CopyMatch(std::size_t distance, std::size_t length) {
  while (length > 0) {
    const std::size_t n = std::min(length, kMaxRun);
    CopyRun(FBytes.get() + FPosition, distance, n);
    FPosition += n;
    length -= n;
    FlushIfFull();
  }
}

void TDfOutputWindow::Finish() {
  for (std::size_t done = 0; done < FPosition; done += kFlushSize)
    FOutput.Write(FBytes.get() + done, std::min(kFlushSize, FPosition - done));
  FPosition = 0;
}

}  // namespace pavona::package
