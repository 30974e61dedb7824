#include "package/inflate_decoder.h"

#include <algorithm>

#include "package/inflate_corrupt.h"

namespace pavona::package {

namespace {

using namespace huffman_entry;

constexpr std::array<std::uint16_t, 29> kLengthBase = {
    3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
    31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<std::uint8_t, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1,
                                                       1, 1, 2, 2, 2, 2, 3, 3, 3, 3,
                                                       4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<std::uint16_t, 32> kDistanceBase = {
    1,    2,    3,    4,    5,    7,     9,     13,    17,    25,    33,
    49,   65,   97,   129,  193,  257,   385,   513,   769,   1025,  1537,
    2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577, 32769, 49153};
constexpr std::array<std::uint8_t, 32> kDistanceExtra = {0, 0, 0,  0,  1,  1,  2,  2,  3,  3,  4,
                                                         4, 5, 5,  6,  6,  7,  7,  8,  8,  9,  9,
                                                         10, 10, 11, 11, 12, 12, 13, 13, 14, 14};

constexpr auto MakeLitLenTemplates(bool deflate64) {
  std::array<std::uint32_t, 288> templates{};
  for (std::uint32_t s = 0; s < 256; ++s) templates[s] = kLiteral | Template(s);
  templates[256] = kEndOfBlock;
  for (std::uint32_t s = 257; s < 286; ++s)
    templates[s] = Template(kLengthBase[s - 257], kLengthExtra[s - 257]);
  // Deflate64 turns the fixed length 258 into 3 + a 16-bit count.
  if (deflate64) templates[285] = Template(3, 16);
  templates[286] = templates[287] = kBadSymbol;
  return templates;
}

constexpr auto MakeDistanceTemplates(bool deflate64) {
  std::array<std::uint32_t, 32> templates{};
  for (std::uint32_t s = 0; s < 32; ++s)
    templates[s] = Template(kDistanceBase[s], kDistanceExtra[s]);
  if (!deflate64) templates[30] = templates[31] = kBadSymbol;
  return templates;
}

constexpr auto MakeCodeLengthTemplates() {
  std::array<std::uint32_t, 19> templates{};
  for (std::uint32_t s = 0; s < 19; ++s) templates[s] = Template(s);
  return templates;
}

constexpr auto kLitLenTemplates = MakeLitLenTemplates(false);
constexpr auto kLitLenTemplates64 = MakeLitLenTemplates(true);
constexpr auto kDistanceTemplates = MakeDistanceTemplates(false);
constexpr auto kDistanceTemplates64 = MakeDistanceTemplates(true);
constexpr auto kCodeLengthTemplates = MakeCodeLengthTemplates();

constexpr const char* kDistanceTooFar =
    "decoded a distance that reaches before the start of the data [DecodeData]";

// Decides what an exceptional literal/length entry means: returns at the end of the block,
// raises otherwise.
void CheckEndOfBlock(std::uint32_t entry) {
  CheckInflateData(Value(entry) != Value(kBadSymbol),
                   "decoded an invalid length symbol: greater than 285 [DecodeData]");
  CheckInflateData(Value(entry) == Value(kEndOfBlock),
                   "decoded a bit pattern that matches no literal/length code [DecodeData]");
}

[[noreturn]] void RaiseBadDistance(std::uint32_t entry) {
  CheckInflateData(Value(entry) != Value(kBadSymbol),
                   "decoded an invalid distance symbol: greater than 29 [DecodeData]");
  RaiseInflateCause("decoded a bit pattern that matches no distance code [DecodeData]");
}

// Decodes one symbol with checked reads: drops its code and extra bits, returns its entry and
// sets value to the entry's value plus the extra bits.
std::uint32_t DecodeChecked(TDfInBitStream& bits, const std::uint32_t* table, unsigned rootBits,
                            std::uint32_t& value) {
  bits.FillBits();
  std::uint64_t peek = bits.PeekBits();
  std::uint32_t entry = table[peek & LowBitMask(rootBits)];
  if (entry & kSubtable) {
    bits.DropBits(rootBits, TDfBitOp::ReadBit);
    peek = bits.PeekBits();
    entry = table[Value(entry) + (peek & LowBitMask(CodeLength(entry)))];
  }
  // Past the end of the input the lookup saw zero bits; a code reaching into them is missing.
  if (CodeLength(entry) > bits.BitCount()) TDfInBitStream::RaiseNoMoreData(TDfBitOp::ReadBit);
  value = Value(entry) +
          static_cast<std::uint32_t>((peek & LowBitMask(DropBits(entry))) >> CodeLength(entry));
  bits.DropBits(DropBits(entry), TDfBitOp::ReadBits);
  return entry;
}

}  // namespace

TInflater::TInflater(platform::TStream& input, platform::TStream& output,
                     const TDeflateHelper& options)
    : FDeflate64((options.Options & kDeflateOptionDeflate64) != 0),
      FLitLenTemplates(FDeflate64 ? kLitLenTemplates64.data() : kLitLenTemplates.data()),
      FDistanceTemplates(FDeflate64 ? kDistanceTemplates64.data() : kDistanceTemplates.data()),
      FBits(input, options.StreamSize),
      FWindow(output, FDeflate64) {}

void TInflater::Run() {
  for (;;) {
    const bool final = FBits.ReadBit() != 0;
    switch (FBits.ReadBits(2)) {
      case 0:
        InflateStoredBlock();
        break;
      case 1:
        LoadFixedTables();
        DecodeData();
        break;
      case 2:
        InflateDynamicBlock();
        DecodeData();
        break;
      default:
        RaiseInflateCause("starting new block, but invalid block type [Inflate]");
    }
    if (final) break;
  }
  FWindow.Finish();
}

void TInflater::InflateStoredBlock() {
  FBits.AlignToByte();
  const std::uint32_t length = FBits.ReadBits(16);
  const std::uint32_t notLength = FBits.ReadBits(16);
  CheckInflateData(length == (~notLength & 0xFFFF),
                   "invalid stored block (length and NOT length do not match) [InflateStoredBlock]");
  FWindow.Append(length, [this](std::uint8_t* out, std::size_t count) {
    FBits.ReadBuffer(out, count);
  });
}

void TInflater::LoadFixedTables() {
  if (FFixedTablesLoaded) return;
  std::array<std::uint8_t, 288> litLen;
  std::fill(litLen.begin(), litLen.begin() + 144, 8);
  std::fill(litLen.begin() + 144, litLen.begin() + 256, 9);
  std::fill(litLen.begin() + 256, litLen.begin() + 280, 7);
  std::fill(litLen.begin() + 280, litLen.end(), 8);
  FLitLen.Build(litLen.data(), 288, FLitLenTemplates);
  std::array<std::uint8_t, 32> distance;
  distance.fill(5);
  FDistance.Build(distance.data(), 32, FDistanceTemplates);
  FFixedTablesLoaded = true;
}

void TInflater::InflateDynamicBlock() {
  const unsigned litLenCount = FBits.ReadBits(5) + 257;
  CheckInflateData(litLenCount <= 286,
                   "count of literal codes in dynamic block is greater than 286 [InflateDynamicBlock]");
  const unsigned distanceCount = FBits.ReadBits(5) + 1;
  CheckInflateData(
      FDeflate64 || distanceCount <= 30,
      "count of distance codes in dynamic block is greater than 30 [InflateDynamicBlock]");
  const unsigned codeLengthCount = FBits.ReadBits(4) + 4;

  static constexpr std::array<std::uint8_t, 19> kOrder = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                          11, 4,  12, 3, 13, 2, 14, 1, 15};
  std::array<std::uint8_t, 19> codeLengths{};
  for (unsigned i = 0; i < codeLengthCount; ++i)
    codeLengths[kOrder[i]] = static_cast<std::uint8_t>(FBits.ReadBits(3));
  FCodeLength.Build(codeLengths.data(), 19, kCodeLengthTemplates.data());

  FFixedTablesLoaded = false;
  ReadLitDistCodeLengths(litLenCount, distanceCount);
}

void TInflater::ReadLitDistCodeLengths(unsigned litLenCount, unsigned distanceCount) {
  std::array<std::uint8_t, 286 + 32> lengths{};
  const unsigned total = litLenCount + distanceCount;
  unsigned i = 0;
  while (i < total) {
    FBits.FillBits();
    const std::uint32_t entry =
        FCodeLength.Entries()[FBits.PeekBits() & LowBitMask(TCodeLengthTree::kRootBits)];
    if (CodeLength(entry) > FBits.BitCount()) TDfInBitStream::RaiseNoMoreData(TDfBitOp::ReadBit);
    CheckInflateData((entry & kExceptional) == 0,
                     "decoded a code length out of range {ReadLitDistCodeLengths}");
    FBits.DropBits(CodeLength(entry), TDfBitOp::ReadBit);
    const std::uint32_t symbol = Value(entry);
    if (symbol < 16) {
      lengths[i++] = static_cast<std::uint8_t>(symbol);
      continue;
    }
    std::uint8_t repeated = 0;
    unsigned repeat;
    if (symbol == 16) {
      CheckInflateData(i > 0, "repeat of the previous code length at the start {ReadLitDistCodeLengths}");
      repeated = lengths[i - 1];
      repeat = 3 + FBits.ReadBits(2);
    } else if (symbol == 17) {
      repeat = 3 + FBits.ReadBits(3);
    } else {
      repeat = 11 + FBits.ReadBits(7);
    }
    CheckInflateData(repeat <= total - i,
                     "code length repeat runs past the number of codes {ReadLitDistCodeLengths}");
    std::fill_n(lengths.begin() + i, repeat, repeated);
    i += repeat;
  }
  FLitLen.Build(lengths.data(), litLenCount, FLitLenTemplates);
  FDistance.Build(lengths.data() + litLenCount, distanceCount, FDistanceTemplates);
}

void TInflater::DecodeData() {
  for (;;) {
    if (FBits.ReadyForFastLoop()) {
      if (DecodeDataFast()) return;
    } else if (DecodeSymbolChecked()) {
      return;
    }
  }
}

bool TInflater::DecodeSymbolChecked() {
  std::uint32_t length;
  const std::uint32_t entry =
      DecodeChecked(FBits, FLitLen.Entries(), TLitLenTree::kRootBits, length);
  if (entry & kLiteral) {
    FWindow.PutByte(static_cast<std::uint8_t>(length));
    FWindow.FlushIfFull();
    return false;
  }
  if (entry & kExceptional) {
    CheckEndOfBlock(entry);
    return true;
  }
  std::uint32_t distance;
  const std::uint32_t distanceEntry =
      DecodeChecked(FBits, FDistance.Entries(), TDistanceTree::kRootBits, distance);
  if (distanceEntry & kExceptional) RaiseBadDistance(distanceEntry);
  CheckInflateData(distance <= FWindow.Position(), kDistanceTooFar);
  FWindow.CopyMatch(distance, length);
  return false;
}

bool TInflater::DecodeDataFast() {
  // Local copies: the compiler cannot keep members in registers across byte stores to the window.
  const TDfBitCursor cursor = FBits.Cursor();
  std::uint64_t bitBuffer = cursor.Buffer;
  unsigned bitCount = cursor.Count;
  const std::uint8_t* in = cursor.Next;
  const std::uint8_t* const inEnd = FBits.FastEnd();
  std::uint8_t* const out = FWindow.Data();
  std::size_t position = FWindow.Position();
  const std::size_t limit = FWindow.Limit();
  const std::uint32_t* const litLen = FLitLen.Entries();
  const std::uint32_t* const distances = FDistance.Entries();
  constexpr unsigned kLitLenRoot = TLitLenTree::kRootBits;
  constexpr unsigned kDistanceRoot = TDistanceTree::kRootBits;

  // A refill leaves 56 to 63 bits in the buffer. A literal/length code with its extra bits
  // takes at most 31 of them (15 + 16 with Deflate64), a distance code with its extra bits at
  // most 29, so only a long length can call for a second refill before its distance.
  auto refill = [&] {
    bitBuffer |= LoadLittleEndian64(in) << bitCount;
    in += (63 - bitCount) >> 3;
    bitCount |= 56;
  };

  bool endOfBlock = false;
  while (in < inEnd) {
    if (position >= limit) {
      FWindow.SetPosition(position);
      FWindow.FlushIfFull();
      position = FWindow.Position();
    }
    refill();
    std::uint32_t entry = litLen[bitBuffer & LowBitMask(kLitLenRoot)];
    if (entry & kLiteral) {
      // A literal found in the main table takes at most 11 bits, so one refill covers three.
      bitBuffer >>= DropBits(entry);
      bitCount -= DropBits(entry);
      out[position++] = static_cast<std::uint8_t>(Value(entry));
      entry = litLen[bitBuffer & LowBitMask(kLitLenRoot)];
      if (entry & kLiteral) {
        bitBuffer >>= DropBits(entry);
        bitCount -= DropBits(entry);
        out[position++] = static_cast<std::uint8_t>(Value(entry));
        entry = litLen[bitBuffer & LowBitMask(kLitLenRoot)];
        if (entry & kLiteral) {
          bitBuffer >>= DropBits(entry);
          bitCount -= DropBits(entry);
          out[position++] = static_cast<std::uint8_t>(Value(entry));
        }
      }
      continue;
    }
    if (entry & kSubtable) {
      bitBuffer >>= kLitLenRoot;
      bitCount -= kLitLenRoot;
      entry = litLen[Value(entry) + (bitBuffer & LowBitMask(CodeLength(entry)))];
    }
    std::uint64_t saved = bitBuffer;
    bitBuffer >>= DropBits(entry);
    bitCount -= DropBits(entry);
    if (entry & kLiteral) {
      out[position++] = static_cast<std::uint8_t>(Value(entry));
      continue;
    }
    if (entry & kExceptional) {
      CheckEndOfBlock(entry);
      endOfBlock = true;
      break;
    }
    const std::size_t length =
        Value(entry) + ((saved & LowBitMask(DropBits(entry))) >> CodeLength(entry));

    if (bitCount < 32) refill();
    entry = distances[bitBuffer & LowBitMask(kDistanceRoot)];
    if (entry & kSubtable) {
      bitBuffer >>= kDistanceRoot;
      bitCount -= kDistanceRoot;
      entry = distances[Value(entry) + (bitBuffer & LowBitMask(CodeLength(entry)))];
    }
    saved = bitBuffer;
    bitBuffer >>= DropBits(entry);
    bitCount -= DropBits(entry);
    if (entry & kExceptional) RaiseBadDistance(entry);
    const std::size_t distance =
        Value(entry) + ((saved & LowBitMask(DropBits(entry))) >> CodeLength(entry));
    CheckInflateData(distance <= position, kDistanceTooFar);
    if (length <= TDfOutputWindow::kMaxRun) {
      CopyRun(out + position, distance, length);
      position += length;
    } else {
      FWindow.SetPosition(position);
      FWindow.CopyMatch(distance, length);
      position = FWindow.Position();
    }
  }
  FBits.SetCursor({bitBuffer, bitCount, in});
  FWindow.SetPosition(position);
  FWindow.FlushIfFull();
  return endOfBlock;
}

}  // namespace pavona::package
