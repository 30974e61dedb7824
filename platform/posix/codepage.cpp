#include "platform/codepage.h"

#include <iconv.h>

#include <cerrno>

namespace pavona::platform {

namespace {

class Converter {
 public:
  Converter(const std::string& to, const std::string& from)
      : cd_(::iconv_open(to.c_str(), from.c_str())) {}
  ~Converter() {
    if (ok()) ::iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts all of input; an unconvertible sequence is skipped byte by byte and replaced.
  std::string Run(std::string_view input, std::string_view replacement) {
    std::string out;
    out.reserve(input.size() * 2);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char buffer[4096];
    while (inLeft > 0) {
      char* dst = buffer;
      std::size_t dstLeft = sizeof buffer;
      const std::size_t r = ::iconv(cd_, &in, &inLeft, &dst, &dstLeft);
      out.append(buffer, static_cast<std::size_t>(dst - buffer));
      if (r == static_cast<std::size_t>(-1)) {
        if (errno == E2BIG) continue;
        // EILSEQ or EINVAL (truncated sequence): replace one byte and go on.
        out.append(replacement);
        ++in;
        --inLeft;
        ::iconv(cd_, nullptr, nullptr, nullptr, nullptr);
      }
    }
    char* dst = buffer;
    std::size_t dstLeft = sizeof buffer;
    ::iconv(cd_, nullptr, nullptr, &dst, &dstLeft);
    out.append(buffer, static_cast<std::size_t>(dst - buffer));
    return out;
  }

 private:
  iconv_t cd_;
};

}  // namespace

std::string ToUtf8(std::string_view bytes, const std::string& encoding) {
  Converter converter("UTF-8", encoding);
  if (!converter.ok()) throw ECodePageError("Unknown encoding: " + encoding);
  return converter.Run(bytes, "\xEF\xBF\xBD");
}

std::string FromUtf8(std::string_view utf8, const std::string& encoding) {
  Converter converter(encoding, "UTF-8");
  if (!converter.ok()) throw ECodePageError("Unknown encoding: " + encoding);
  return converter.Run(utf8, "?");
}

bool IsKnownEncoding(const std::string& encoding) { return Converter("UTF-8", encoding).ok(); }

}  // namespace pavona::platform
