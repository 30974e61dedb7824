// The single gate for every check the decoder makes on untrusted input.
#pragma once

namespace pavona::package {

// Raises EInternalInflateError with the given cause.
[[noreturn]] void RaiseInflateCause(const char* cause);

inline void CheckInflateData(bool ok, const char* cause) {
  if (!ok) [[unlikely]] {
    RaiseInflateCause(cause);
  }
}

}  // namespace pavona::package
