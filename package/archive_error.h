// The archive reader's error classes. Every failure of the reader is an EArchiveException with
// a fixed message and an integer code; the ZIP-specific ones derive from EZipException. The
// codec errors (bzip2, LZMA, WavPack, PPMd) and the date conversion error come from outside the
// archive layer in spirit and therefore carry no archive code.
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

// Archive errors common to every format.
class EUserAbort : public EArchiveException {
 public:
  EUserAbort() : EArchiveException("Process aborted by user", 9) {}
};

class ENoSuchDirectory : public EArchiveException {
 public:
  ENoSuchDirectory() : EArchiveException("Directory does not exist", 15) {}
};

// A base folder that exists but is a symbolic link or belongs to someone else: extracting
// into it could place files where another user decides.
class EUnsafeDirectory : public EArchiveException {
 public:
  EUnsafeDirectory()
      : EArchiveException("Directory is a symbolic link or belongs to another user", 15) {}
};

class ENoArchive : public EArchiveException {
 public:
  ENoArchive() : EArchiveException("Archive does not exist - Filename is blank", 23) {}
};

// ZIP errors.
class EZipVersion : public EZipException {
 public:
  EZipVersion() : EZipException("Cannot extract file - newer version required", 1) {}
};

class EZipInvalidMethod : public EZipException {
 public:
  EZipInvalidMethod() : EZipException("Cannot extract file - unsupported compression method", 2) {}
};

class EZipNoExtraction : public EZipException {
 public:
  EZipNoExtraction()
      : EZipException("Cannot extract file - no extraction support provided", 3) {}
};

class EZipInvalidPassword : public EZipException {
 public:
  EZipInvalidPassword() : EZipException("Cannot extract file - invalid password", 4) {}
};

class EZipBadSpanStream : public EZipException {
 public:
  EZipBadSpanStream() : EZipException("Spanned archives must be opened as file streams", 11) {}
};

class EZipBadCRC : public EZipException {
 public:
  EZipBadCRC() : EZipException("Failed CRC Check", 19) {}
};

class EZipInvalid : public EZipException {
 public:
  EZipInvalid() : EZipException("Invalid file - not a PKZip file", 24) {}
};

// Codec errors.
class EBZDecompressionError : public std::runtime_error {
 public:
  explicit EBZDecompressionError(int code) : std::runtime_error("error " + std::to_string(code)) {}
};

class EBZCompressionError : public std::runtime_error {
 public:
  explicit EBZCompressionError(int code) : std::runtime_error("error " + std::to_string(code)) {}
};

class ELZMAException : public std::runtime_error {
 public:
  explicit ELZMAException(int code);
  int Code;
};

class EWavPackError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A PPMd entry whose header asks for a model the decoder does not build, or whose data no
// encoder could have written.
class EPPMdError : public EArchiveException {
 public:
  explicit EPPMdError(const std::string& message) : EArchiveException(message) {}
};

// An MS-DOS date or time that names no calendar day or time of day.
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace pavona::package
