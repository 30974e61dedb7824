// Shrunk entries (method 1): LZW whose code size grows only when the encoder says so (code 256
// then 1) and whose table is pruned of its leaves when the encoder says so (code 256 then 2).
#include <array>
#include <memory>

#include "package/archive_item.h"
#include "package/legacy_io.h"
#include "package/legacy_methods.h"

namespace pavona::package {

namespace {

constexpr unsigned kFirstCodeSize = 9;
constexpr unsigned kLastCodeSize = 13;
constexpr std::size_t kCodeCount = std::size_t{1} << kLastCodeSize;
constexpr std::uint32_t kControl = 256;
constexpr std::uint32_t kFirstFree = 257;
constexpr std::uint32_t kGrow = 1;
constexpr std::uint32_t kPartialClear = 2;

class TUnshrinker {
 public:
  TUnshrinker(platform::TStream& input, platform::TStream& sink, std::int64_t size)
      : FBits(input), FOutput(sink, size) {
    for (std::uint32_t code = 0; code < kControl; ++code) {
      FParent[code] = -1;
      FSuffix[code] = static_cast<std::uint8_t>(code);
    }
    FFree.fill(false);
    for (std::size_t code = kFirstFree; code < kCodeCount; ++code) FFree[code] = true;
  }

  void Run() {
    std::int32_t previous = -1;
    while (!FOutput.Full()) {
      const std::uint32_t code = FBits.Bits(FCodeSize);
      if (code == kControl) {
        Control(FBits.Bits(FCodeSize));
        continue;
      }
      std::size_t start;
      if (!FFree[code]) {
        start = Spell(code, kCodeCount);
      } else {
        // A code the encoder made from the previous string and its own first byte, one step
        // before the decoder can: it must be the code being assigned next.
        CheckLegacyData(previous >= 0 && code == FNextFree);
        start = Spell(static_cast<std::uint32_t>(previous), kCodeCount - 1);
        FString[kCodeCount - 1] = FString[start];
      }
      if (previous >= 0) Add(static_cast<std::uint32_t>(previous), FString[start]);
      for (std::size_t i = start; i < kCodeCount && !FOutput.Full(); ++i) FOutput.Put(FString[i]);
      previous = static_cast<std::int32_t>(code);
    }
  }

 private:
  void Control(std::uint32_t command) {
    if (command == kGrow) {
      CheckLegacyData(FCodeSize < kLastCodeSize);
      ++FCodeSize;
    } else {
      CheckLegacyData(command == kPartialClear);
      PartialClear();
    }
  }

  // Writes the string of code so that it ends before end and returns where it starts. Freed
  // codes keep their links, so a chain may pass through them; a chain longer than the table
  // has a loop.
  std::size_t Spell(std::uint32_t code, std::size_t end) {
    std::size_t start = end;
    for (std::int32_t at = static_cast<std::int32_t>(code); at >= 0; at = FParent[static_cast<std::size_t>(at)]) {
      CheckLegacyData(start > 0);
      FString[--start] = FSuffix[static_cast<std::size_t>(at)];
    }
    return start;
  }

  void Add(std::uint32_t parent, std::uint8_t suffix) {
    if (FNextFree >= kCodeCount) return;
    FParent[FNextFree] = static_cast<std::int16_t>(parent);
    FSuffix[FNextFree] = suffix;
    FFree[FNextFree] = false;
    FindNextFree(FNextFree + 1);
  }

  void FindNextFree(std::uint32_t from) {
    FNextFree = from;
    while (FNextFree < kCodeCount && !FFree[FNextFree]) ++FNextFree;
  }

  // Frees every assigned code that no other assigned code extends; the lowest is reused first.
  void PartialClear() {
    std::array<bool, kCodeCount> extended{};
    for (std::size_t code = kFirstFree; code < kCodeCount; ++code) {
      if (!FFree[code] && FParent[code] >= 0) extended[static_cast<std::size_t>(FParent[code])] = true;
    }
    for (std::size_t code = kFirstFree; code < kCodeCount; ++code) {
      if (!extended[code]) FFree[code] = true;
    }
    FindNextFree(kFirstFree);
  }

  TLegacyBitReader FBits;
  TLegacyOutput FOutput;
  unsigned FCodeSize = kFirstCodeSize;
  std::uint32_t FNextFree = kFirstFree;  // the lowest free code; kCodeCount when none is
  std::array<std::int16_t, kCodeCount> FParent{};  // -1 for the single bytes
  std::array<std::uint8_t, kCodeCount> FSuffix{};
  std::array<bool, kCodeCount> FFree{};
  std::array<std::uint8_t, kCodeCount> FString{};  // one decoded string, at its end
};

}  // namespace

void Unshrink(platform::TStream& input, platform::TStream& sink, std::int64_t size) {
  // The tables take some 40 KiB: too much for the stack of a caller that may be a thread.
  std::make_unique<TUnshrinker>(input, sink, size)->Run();
}

void DecodeShrunk(const TZipItem& item, platform::TStream& input, platform::TStream& sink) {
  Unshrink(input, sink, item.FUncompressedSize);
}

}  // namespace pavona::package
