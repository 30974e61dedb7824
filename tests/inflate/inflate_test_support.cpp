#include "inflate_test_support.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <stdexcept>
#include <string>

namespace pavona::package::test {

TBytes TextLikeBytes(std::size_t size, std::uint32_t seed) {
  static const char* const kWords[] = {"the",   "slide", "show",   "picture", "sound", "of",
                                       "and",   "window", "a",     "transition", "effect",
                                       "frame", "to",    "package", "settings", "viewer"};
  std::mt19937 random(seed);
  TBytes out;
  out.reserve(size + 16);
  while (out.size() < size) {
    const char* word = kWords[random() % std::size(kWords)];
    out.insert(out.end(), word, word + std::char_traits<char>::length(word));
    out.push_back(random() % 11 == 0 ? '\n' : ' ');
  }
  out.resize(size);
  return out;
}

TBytes PictureLikeBytes(std::size_t size, std::uint32_t seed) {
  std::mt19937 random(seed);
  TBytes out(size);
  const std::size_t rowBytes = 3 * 640;
  for (std::size_t i = 0; i < size; ++i) {
    const std::size_t x = (i % rowBytes) / 3;
    const std::size_t y = i / rowBytes;
    const unsigned channel = static_cast<unsigned>(i % 3);
    const unsigned base = static_cast<unsigned>((x * (channel + 1) + y * 2) / 5);
    out[i] = static_cast<std::uint8_t>(base + (random() % 4 == 0 ? random() % 3 : 0));
  }
  return out;
}

TBytes RandomBytes(std::size_t size, std::uint32_t seed) {
  std::mt19937 random(seed);
  TBytes out(size);
  for (auto& byte : out) byte = static_cast<std::uint8_t>(random());
  return out;
}

TBytes ZlibDeflate(const TBytes& data, int level, int strategy) {
  z_stream z{};
  if (deflateInit2(&z, level, Z_DEFLATED, -15, 8, strategy) != Z_OK)
    throw std::runtime_error("deflateInit2 failed");
  TBytes out(deflateBound(&z, data.size()));
  z.next_in = const_cast<Bytef*>(data.data());
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  const int result = deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  if (result != Z_STREAM_END) throw std::runtime_error("deflate did not finish");
  return out;
}

TBytes Inflate(const TBytes& compressed, std::uint32_t options) {
  platform::TMemoryStream input(compressed);
  platform::TMemoryStream output;
  InflateStream(input, output, TDeflateHelper{options, static_cast<std::int64_t>(compressed.size())});
  return output.TakeBytes();
}

std::string InflateErrorMessage(const TBytes& compressed, std::uint32_t options) {
  try {
    Inflate(compressed, options);
  } catch (const EInflateError& error) {
    return error.what();
  }
  ADD_FAILURE() << "the stream decoded without an error";
  return {};
}

std::string WrappedCause(const std::string& cause) {
  return "Inflate error, possibly a corrupted compressed stream. (Internal cause: " + cause + ")";
}

}  // namespace pavona::package::test
