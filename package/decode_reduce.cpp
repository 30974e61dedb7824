// Reduced entries (methods 2 to 5, compression factor 1 to 4): bytes coded by follower sets
// (the bytes that most often follow the previous one), which then expand the encoder's repeats:
// byte 144 introduces a length and a distance of up to 4096 back, 144 then 0 stands for 144.
#include <array>

#include "package/archive_error.h"
#include "package/archive_item.h"
#include "package/legacy_io.h"
#include "package/legacy_methods.h"
#include "package/zip_methods.h"

namespace pavona::package {

namespace {

constexpr std::uint8_t kRepeat = 144;
constexpr unsigned kMinRepeat = 3;
constexpr std::size_t kMaxFollowers = 32;

struct TFollowerSet {
  std::uint8_t Count = 0;
  std::uint8_t IndexBits = 0;  // bits of an index into Bytes
  std::array<std::uint8_t, kMaxFollowers> Bytes{};
};

// The intermediate bytes: each one either straight (8 bits) or, when the previous byte has
// followers, a flag bit and then 8 bits or an index into its follower set.
class TFollowerDecoder {
 public:
  explicit TFollowerDecoder(platform::TStream& input) : FBits(input) {
    // The sets are stored from byte 255 down to byte 0.
    for (std::size_t i = FSets.size(); i-- > 0;) {
      TFollowerSet& set = FSets[i];
      const std::uint32_t count = FBits.Bits(6);
      CheckLegacyData(count <= kMaxFollowers);
      set.Count = static_cast<std::uint8_t>(count);
      // Enough bits for count - 1, and at least one, also for a set of one byte.
      set.IndexBits = 1;
      while ((1u << set.IndexBits) < count) ++set.IndexBits;
      for (std::uint32_t j = 0; j < count; ++j) set.Bytes[j] = static_cast<std::uint8_t>(FBits.Bits(8));
    }
  }

  std::uint8_t Next() {
    const TFollowerSet& set = FSets[FLast];
    if (set.Count == 0 || FBits.Bit() != 0) {
      FLast = static_cast<std::uint8_t>(FBits.Bits(8));
    } else {
      const std::uint32_t index = FBits.Bits(set.IndexBits);
      CheckLegacyData(index < set.Count);
      FLast = set.Bytes[index];
    }
    return FLast;
  }

 private:
  TLegacyBitReader FBits;
  std::array<TFollowerSet, 256> FSets;
  std::uint8_t FLast = 0;
};

}  // namespace

void Unreduce(platform::TStream& input, platform::TStream& sink, std::int64_t size, int factor) {
  if (factor < 1 || factor > 4) throw EZipInvalidMethod();
  TFollowerDecoder bytes(input);
  TLegacyOutput output(sink, size);
  const unsigned lengthBits = 8 - static_cast<unsigned>(factor);
  const unsigned lengthMask = (1u << lengthBits) - 1;
  while (!output.Full()) {
    const std::uint8_t byte = bytes.Next();
    if (byte != kRepeat) {
      output.Put(byte);
      continue;
    }
    const std::uint8_t head = bytes.Next();
    if (head == 0) {
      output.Put(kRepeat);
      continue;
    }
    std::size_t length = head & lengthMask;
    if (length == lengthMask) length += bytes.Next();
    const std::size_t distance = (std::size_t{head} >> lengthBits << 8) + bytes.Next() + 1;
    output.Copy(distance, length + kMinRepeat);
  }
}

void DecodeReduced(const TZipItem& item, platform::TStream& input, platform::TStream& sink) {
  Unreduce(input, sink, item.FUncompressedSize, item.CompressionMethod() - zip_method::kReduced1 + 1);
}

}  // namespace pavona::package
