#include "tools/progress_line.h"

#include <cstdio>

#include "platform/terminal.h"

namespace pavona::tools {

TProgressLine::TProgressLine()
    : FTerminal(platform::StandardErrorIsTerminal()), FStart(std::chrono::steady_clock::now()) {}

void TProgressLine::Update(const std::string& text) {
  if (!FTerminal || std::chrono::steady_clock::now() - FStart < std::chrono::seconds(1)) return;
  // Carriage return, the text, then erase what a longer earlier text left to its right.
  std::fprintf(stderr, "\r%s\033[K", text.c_str());
  std::fflush(stderr);
  FShown = true;
}

void TProgressLine::Clear() {
  if (!FShown) return;
  std::fprintf(stderr, "\r\033[K");
  std::fflush(stderr);
  FShown = false;
}

}  // namespace pavona::tools
