// One status line on standard error that rewrites itself in place. It appears only on a
// terminal and only once the work has taken more than a second, so short runs and logs stay
// free of it.
#pragma once

#include <chrono>
#include <string>

namespace pavona::tools {

class TProgressLine {
 public:
  TProgressLine();
  ~TProgressLine() { Clear(); }
  TProgressLine(const TProgressLine&) = delete;
  TProgressLine& operator=(const TProgressLine&) = delete;

  void Update(const std::string& text);
  // Erases the line, so that ordinary output can follow; the next Update draws it again.
  void Clear();

 private:
  bool FTerminal;
  std::chrono::steady_clock::time_point FStart;
  bool FShown = false;
};

}  // namespace pavona::tools
