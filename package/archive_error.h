// The archive reader's error classes. Every failure of the reader is an EArchiveException with
// a fixed message and an integer code; the ZIP-specific ones derive from EZipException.
#pragma once

#include <stdexcept>
#include <string>

namespace pavona::package {

class EArchiveException : public std::runtime_error {
 public:
  EArchiveException(const std::string& message, int errorCode = 0)
      : std::runtime_error(message), ErrorCode(errorCode) {}
  int ErrorCode;
};

class EZipException : public EArchiveException {
 public:
  using EArchiveException::EArchiveException;
};

}  // namespace pavona::package
