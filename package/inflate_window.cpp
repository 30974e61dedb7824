#include "package/inflate_window.h"

#include <algorithm>

namespace pavona::package {

TDfOutputWindow::TDfOutputWindow(platform::TStream& output, bool deflate64)
    : output_(output),
      limit_(deflate64 ? 98304 : 65536),
      bytes_(std::make_unique_for_overwrite<std::uint8_t[]>(limit_ + kMaxRun + kCopyOvershoot)) {}

void TDfOutputWindow::Flush() {
  output_.Write(bytes_.get(), kFlushSize);
  std::memmove(bytes_.get(), bytes_.get() + kFlushSize, position_ - kFlushSize);
  position_ -= kFlushSize;
}

void TDfOutputWindow::CopyMatch(std::size_t distance, std::size_t length) {
  while (length > 0) {
    const std::size_t n = std::min(length, kMaxRun);
    CopyRun(bytes_.get() + position_, distance, n);
    position_ += n;
    length -= n;
    FlushIfFull();
  }
}

void TDfOutputWindow::Finish() {
  for (std::size_t done = 0; done < position_; done += kFlushSize)
    output_.Write(bytes_.get() + done, std::min(kFlushSize, position_ - done));
  position_ = 0;
}

}  // namespace pavona::package
