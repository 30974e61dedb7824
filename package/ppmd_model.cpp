#include "package/ppmd_model.h"

#include <algorithm>
#include <cstring>

namespace pavona::package {

namespace {

constexpr std::uint32_t kUnitSize = 12;
constexpr std::uint32_t kStateSize = 6;
constexpr unsigned kMaxFreq = 124;
constexpr unsigned kIntBits = 7;
constexpr unsigned kPeriodBits = 7;
constexpr std::uint32_t kBinScale = 1u << TPpmdRangeDecoder::kBinaryTotalBits;
constexpr std::uint32_t kEmptyNode = 0xFFFFFFFF;
// Offsets below this are never allocated: they read as an empty context for a null reference.
constexpr std::uint32_t kTextStart = kUnitSize;

constexpr std::uint8_t kExpEscape[16] = {25, 14, 9, 7, 5, 5, 4, 4, 4, 3, 3, 3, 2, 2, 2, 2};
constexpr std::uint16_t kInitBinEsc[8] = {0x3CDD, 0x1F3F, 0x59BF, 0x48F3,
                                          0x64A1, 0x5ABC, 0x6632, 0x6051};

struct TTables {
  std::uint8_t Indx2Units[38];
  std::uint8_t Units2Indx[128];
  std::uint8_t NS2Indx[260];
  std::uint8_t NS2BSIndx[256];

  TTables() {
    // Block sizes in units: 1..4 by 1, 6..12 by 2, 15..24 by 3, 28..128 by 4.
    for (unsigned i = 0, k = 0; i < 38; ++i) {
      const unsigned step = i >= 12 ? 4 : (i >> 2) + 1;
      for (unsigned n = 0; n < step; ++n) Units2Indx[k++] = static_cast<std::uint8_t>(i);
      Indx2Units[i] = static_cast<std::uint8_t>(k);
    }
    NS2BSIndx[0] = 0;
    NS2BSIndx[1] = 2;
    std::fill(NS2BSIndx + 2, NS2BSIndx + 11, 4);
    std::fill(NS2BSIndx + 11, NS2BSIndx + 256, 6);
    // Symbol counts (and binary frequencies) to classes: 0..4 alone, then runs of 1, 2, 3, ...
    unsigned i = 0;
    for (; i < 5; ++i) NS2Indx[i] = static_cast<std::uint8_t>(i);
    for (unsigned m = i, k = 1; i < 260; ++i) {
      NS2Indx[i] = static_cast<std::uint8_t>(m);
      if (--k == 0) k = ++m - 4;
    }
  }
};

const TTables kTables;

unsigned I2U(unsigned index) { return kTables.Indx2Units[index]; }
unsigned U2I(unsigned units) { return kTables.Units2Indx[units - 1]; }
std::uint32_t U2B(unsigned units) { return units * kUnitSize; }

[[noreturn]] void DataError() { throw EPPMdError("PPMd data error"); }

}  // namespace

TPpmdModel::TPpmdModel(std::uint32_t memorySize)
    : FArena(new std::uint8_t[kTextStart + memorySize]), FBase(FArena.get()), FSize(memorySize) {
  std::memset(FBase, 0, kTextStart);
}

std::uint16_t TPpmdModel::Load16(std::uint32_t offset) const {
  std::uint16_t value;
  std::memcpy(&value, FBase + offset, 2);
  return value;
}
std::uint32_t TPpmdModel::Load32(std::uint32_t offset) const {
  std::uint32_t value;
  std::memcpy(&value, FBase + offset, 4);
  return value;
}
void TPpmdModel::Store16(std::uint32_t offset, std::uint32_t value) {
  const auto narrow = static_cast<std::uint16_t>(value);
  std::memcpy(FBase + offset, &narrow, 2);
}
void TPpmdModel::Store32(std::uint32_t offset, std::uint32_t value) {
  std::memcpy(FBase + offset, &value, 4);
}

void TPpmdModel::CopyState(std::uint32_t to, std::uint32_t from) {
  std::memmove(FBase + to, FBase + from, kStateSize);
}
void TPpmdModel::SwapStates(std::uint32_t a, std::uint32_t b) {
  std::uint8_t tmp[kStateSize];
  std::memcpy(tmp, FBase + a, kStateSize);
  std::memmove(FBase + a, FBase + b, kStateSize);
  std::memcpy(FBase + b, tmp, kStateSize);
}

// A suffix context holds every symbol of its longer contexts; a miss means a broken model.
std::uint32_t TPpmdModel::FindState(std::uint32_t c, std::uint8_t symbol) {
  std::uint32_t s = Stats(c);
  for (unsigned left = NumStats(c); Symbol(s) != symbol; s += kStateSize) {
    if (left-- == 0) DataError();
  }
  return s;
}

// ---- Allocator: free blocks of 1 to 128 units in 38 size classes, each a LIFO list whose
// nodes are marked by an all-ones stamp so that neighbours can be glued together.

void TPpmdModel::InsertNode(std::uint32_t node, unsigned index) {
  Store32(node, kEmptyNode);
  Store32(node + 4, FFreeList[index]);
  Store32(node + 8, I2U(index));
  FFreeList[index] = node;
  ++FStamps[index];
}

std::uint32_t TPpmdModel::RemoveNode(unsigned index) {
  const std::uint32_t node = FFreeList[index];
  FFreeList[index] = Load32(node + 4);
  --FStamps[index];
  return node;
}

void TPpmdModel::SplitBlock(std::uint32_t block, unsigned oldIndex, unsigned newIndex) {
  const unsigned units = I2U(oldIndex) - I2U(newIndex);
  block += U2B(I2U(newIndex));
  unsigned index = U2I(units);
  if (I2U(index) != units) {
    const unsigned k = I2U(--index);
    InsertNode(block + U2B(k), units - k - 1);
  }
  InsertNode(block, index);
}

void TPpmdModel::GlueFreeBlocks() {
  FGlueCount = 1u << 13;
  FStamps.fill(0);
  // The root context always occupies the top unit, so only the gap at LoUnit needs a guard.
  if (FLoUnit != FHiUnit) Store32(FLoUnit, 0);

  // Chain every free block, list by list, absorbing the free blocks that follow it.
  std::uint32_t head = 0;
  std::uint32_t tail = 0;
  for (unsigned i = 0; i < kNumIndexes; ++i) {
    std::uint32_t next = FFreeList[i];
    FFreeList[i] = 0;
    while (next != 0) {
      const std::uint32_t node = next;
      next = Load32(node + 4);
      std::uint32_t units = Load32(node + 8);
      if (units == 0) continue;
      if (tail == 0) head = node;
      else Store32(tail + 4, node);
      tail = node;
      for (std::uint32_t after = node + U2B(units); Load32(after) == kEmptyNode;
           after = node + U2B(units)) {
        const std::uint32_t more = Load32(after + 8);
        if (more == 0) break;
        units += more;
        Store32(after + 8, 0);
        Store32(node + 8, units);
      }
    }
  }
  if (tail != 0) Store32(tail + 4, 0);

  // Refill the lists, cutting long blocks into pieces of 128 units and a remainder.
  for (std::uint32_t node = head; node != 0;) {
    const std::uint32_t following = Load32(node + 4);
    unsigned units = Load32(node + 8);
    if (units != 0) {
      for (; units > 128; units -= 128, node += U2B(128)) InsertNode(node, kNumIndexes - 1);
      unsigned index = U2I(units);
      if (I2U(index) != units) {
        const unsigned k = I2U(--index);
        InsertNode(node + U2B(k), units - k - 1);
      }
      InsertNode(node, index);
    }
    node = following;
  }
}

std::uint32_t TPpmdModel::AllocUnitsRare(unsigned index) {
  if (FGlueCount == 0) {
    GlueFreeBlocks();
    if (FFreeList[index] != 0) return RemoveNode(index);
  }
  unsigned i = index;
  do {
    if (++i == kNumIndexes) {
      const std::uint32_t bytes = U2B(I2U(index));
      --FGlueCount;
      if (FUnitsStart - FText > bytes) return FUnitsStart -= bytes;
      return 0;
    }
  } while (FFreeList[i] == 0);
  const std::uint32_t block = RemoveNode(i);
  SplitBlock(block, i, index);
  return block;
}

std::uint32_t TPpmdModel::AllocUnits(unsigned index) {
  if (FFreeList[index] != 0) return RemoveNode(index);
  const std::uint32_t bytes = U2B(I2U(index));
  if (bytes <= FHiUnit - FLoUnit) {
    const std::uint32_t block = FLoUnit;
    FLoUnit += bytes;
    return block;
  }
  return AllocUnitsRare(index);
}

std::uint32_t TPpmdModel::AllocContext() {
  if (FHiUnit != FLoUnit) return FHiUnit -= kUnitSize;
  if (FFreeList[0] != 0) return RemoveNode(0);
  return AllocUnitsRare(0);
}

void TPpmdModel::CopyUnits(std::uint32_t to, std::uint32_t from, unsigned units) {
  std::memmove(FBase + to, FBase + from, U2B(units));
}

std::uint32_t TPpmdModel::ShrinkUnits(std::uint32_t block, unsigned oldUnits, unsigned newUnits) {
  const unsigned i0 = U2I(oldUnits);
  const unsigned i1 = U2I(newUnits);
  if (i0 == i1) return block;
  if (FFreeList[i1] != 0) {
    const std::uint32_t moved = RemoveNode(i1);
    CopyUnits(moved, block, newUnits);
    InsertNode(block, i0);
    return moved;
  }
  SplitBlock(block, i0, i1);
  return block;
}

// Moves a block lying just above the text area into a free block of its size higher up, so
// that the space next to the text empties and can join the text area.
std::uint32_t TPpmdModel::MoveUnitsUp(std::uint32_t block, unsigned units) {
  const unsigned index = U2I(units);
  if (block > FUnitsStart + 16 * 1024 || block > FFreeList[index]) return block;
  const std::uint32_t moved = RemoveNode(index);
  CopyUnits(moved, block, units);
  if (block != FUnitsStart) InsertNode(block, index);
  else FUnitsStart += U2B(I2U(index));
  return moved;
}

void TPpmdModel::SpecialFreeUnit(std::uint32_t block) {
  if (block != FUnitsStart) InsertNode(block, 0);
  else FUnitsStart += kUnitSize;
}

void TPpmdModel::FreeUnits(std::uint32_t block, unsigned units) { InsertNode(block, U2I(units)); }

// Gives the free blocks right above the text to the text area.
void TPpmdModel::ExpandTextArea() {
  std::uint32_t count[kNumIndexes] = {};
  if (FLoUnit != FHiUnit) Store32(FLoUnit, 0);
  std::uint32_t node = FUnitsStart;
  while (Load32(node) == kEmptyNode) {
    const std::uint32_t units = Load32(node + 8);
    if (units == 0) DataError();
    Store32(node, 0);
    ++count[U2I(units)];
    node += U2B(units);
  }
  FUnitsStart = node;

  for (unsigned i = 0; i < kNumIndexes; ++i) {
    std::uint32_t previous = 0;  // 0: the list head
    std::uint32_t current = FFreeList[i];
    while (count[i] != 0 && current != 0) {
      const std::uint32_t next = Load32(current + 4);
      if (Load32(current) == 0) {
        if (previous == 0) FFreeList[i] = next;
        else Store32(previous + 4, next);
        --FStamps[i];
        --count[i];
      } else {
        previous = current;
      }
      current = next;
    }
  }
}

std::uint32_t TPpmdModel::UsedMemory() const {
  std::uint32_t freeUnits = 0;
  for (unsigned i = 0; i < kNumIndexes; ++i) freeUnits += FStamps[i] * I2U(i);
  return FSize - (FHiUnit - FLoUnit) - (FUnitsStart - FText) - U2B(freeUnits);
}

// ---- Model

void TPpmdModel::Start(unsigned maxOrder, unsigned restoreMethod) {
  FMaxOrder = maxOrder;
  FRestoreMethod = restoreMethod;
  FInitEsc = 0;
  RestartModel();
  FDummySee = TSee{0, kPeriodBits, 64};
}

void TPpmdModel::RestartModel() {
  FFreeList.fill(0);
  FStamps.fill(0);
  FText = kTextStart;
  FHiUnit = FText + FSize;
  FLoUnit = FUnitsStart = FHiUnit - FSize / 8 / kUnitSize * 7 * kUnitSize;
  FGlueCount = 0;

  FOrderFall = FMaxOrder;
  FRunLength = FInitRL = -static_cast<std::int32_t>(std::min(FMaxOrder, 12u)) - 1;
  FPrevSuccess = 0;

  FHiUnit -= kUnitSize;
  FMinContext = FMaxContext = FHiUnit;
  SetSuffix(FMinContext, 0);
  NumStats(FMinContext) = 255;
  Flags(FMinContext) = 0;
  SetSummFreq(FMinContext, 256 + 1);
  FFoundState = FLoUnit;
  SetStats(FMinContext, FLoUnit);
  FLoUnit += U2B(256 / 2);
  for (unsigned i = 0; i < 256; ++i) {
    const std::uint32_t s = FFoundState + i * kStateSize;
    Symbol(s) = static_cast<std::uint8_t>(i);
    Freq(s) = 1;
    SetSuccessor(s, 0);
  }

  for (unsigned i = 0, m = 0; m < 25; ++m) {
    while (kTables.NS2Indx[i] == m) ++i;
    for (unsigned k = 0; k < 8; ++k) {
      const auto value = static_cast<std::uint16_t>(kBinScale - kInitBinEsc[k] / (i + 1));
      for (unsigned r = 0; r < 64; r += 8) FBinSumm[m][k + r] = value;
    }
  }
  for (unsigned i = 0, m = 0; m < 24; ++m) {
    while (kTables.NS2Indx[i + 3] == m + 3) ++i;
    const TSee initial{static_cast<std::uint16_t>((2 * i + 5) << (kPeriodBits - 4)),
                       kPeriodBits - 4, 7};
    for (unsigned k = 0; k < 32; ++k) FSee[m][k] = initial;
  }
}

std::uint32_t TPpmdModel::CreateSuccessors(bool skip, std::uint32_t s1, std::uint32_t c) {
  const std::uint32_t upBranch = Successor(FFoundState);
  const std::uint8_t foundSymbol = Symbol(FFoundState);
  std::uint32_t ps[kMaxOrder + 1];
  unsigned numPs = 0;
  if (!skip) ps[numPs++] = FFoundState;
  while (Suffix(c) != 0) {
    c = Suffix(c);
    std::uint32_t s;
    if (s1 != 0) {
      s = s1;
      s1 = 0;
    } else if (NumStats(c) != 0) {
      s = FindState(c, foundSymbol);
      if (Freq(s) < kMaxFreq - 9) {
        ++Freq(s);
        SetSummFreq(c, SummFreq(c) + 1);
      }
    } else {
      s = OneState(c);
      Freq(s) += NumStats(Suffix(c)) == 0 && Freq(s) < 24;
    }
    const std::uint32_t successor = Successor(s);
    if (successor != upBranch) {
      c = successor;
      break;
    }
    if (numPs == kMaxOrder + 1) DataError();
    ps[numPs++] = s;
  }
  if (numPs == 0) return c;

  const std::uint8_t newSymbol = Byte(upBranch);
  const auto flags = static_cast<std::uint8_t>(0x10 * (foundSymbol >= 0x40) + 0x08 * (newSymbol >= 0x40));
  std::uint32_t newFreq;
  if (NumStats(c) == 0) {
    newFreq = Freq(OneState(c));
  } else {
    const std::uint32_t s = FindState(c, newSymbol);
    const std::uint32_t cf = Freq(s) - 1u;
    const std::uint32_t s0 = SummFreq(c) - NumStats(c) - cf;
    if (2 * cf <= s0) newFreq = 1 + (5 * cf > s0);
    else if (s0 == 0) DataError();
    else newFreq = 1 + (cf + 2 * s0 - 3) / s0;
  }
  do {
    const std::uint32_t c1 = AllocContext();
    if (c1 == 0) return 0;
    NumStats(c1) = 0;
    Flags(c1) = flags;
    const std::uint32_t s = OneState(c1);
    Symbol(s) = newSymbol;
    Freq(s) = static_cast<std::uint8_t>(newFreq);
    SetSuccessor(s, upBranch + 1);
    SetSuffix(c1, c);
    SetSuccessor(ps[--numPs], c1);
    c = c1;
  } while (numPs != 0);
  return c;
}

std::uint32_t TPpmdModel::ReduceOrder(std::uint32_t s1, std::uint32_t c) {
  const std::uint32_t c1 = c;
  const std::uint32_t upBranch = FText;
  const std::uint8_t foundSymbol = Symbol(FFoundState);
  std::uint32_t s = 0;
  SetSuccessor(FFoundState, upBranch);
  ++FOrderFall;
  for (;;) {
    if (s1 != 0) {
      c = Suffix(c);
      s = s1;
      s1 = 0;
    } else {
      if (Suffix(c) == 0) return c;
      c = Suffix(c);
      if (NumStats(c) != 0) {
        s = FindState(c, foundSymbol);
        if (Freq(s) < kMaxFreq - 9) {
          Freq(s) += 2;
          SetSummFreq(c, SummFreq(c) + 2);
        }
      } else {
        s = OneState(c);
        Freq(s) += (Freq(s) < 32);
      }
    }
    if (Successor(s) != 0) break;
    SetSuccessor(s, upBranch);
    ++FOrderFall;
  }
  if (Successor(s) <= upBranch) {
    const std::uint32_t found = FFoundState;
    FFoundState = s;
    SetSuccessor(s, CreateSuccessors(false, 0, c));
    FFoundState = found;
  }
  if (FOrderFall == 1 && c1 == FMaxContext) {
    SetSuccessor(FFoundState, Successor(s));
    --FText;
  }
  return Successor(s);
}

void TPpmdModel::UpdateModel() {
  std::uint32_t fSuccessor = Successor(FFoundState);
  const std::uint8_t fSymbol = Symbol(FFoundState);
  const unsigned fFreq = Freq(FFoundState);
  std::uint32_t s = 0;

  if (fFreq < kMaxFreq / 4 && Suffix(FMinContext) != 0) {
    const std::uint32_t c = Suffix(FMinContext);
    if (NumStats(c) == 0) {
      s = OneState(c);
      if (Freq(s) < 32) ++Freq(s);
    } else {
      s = FindState(c, fSymbol);
      if (s != Stats(c) && Freq(s) >= Freq(s - kStateSize)) {
        SwapStates(s, s - kStateSize);
        s -= kStateSize;
      }
      if (Freq(s) < kMaxFreq - 9) {
        Freq(s) += 2;
        SetSummFreq(c, SummFreq(c) + 2);
      }
    }
  }

  std::uint32_t c = FMaxContext;
  if (FOrderFall == 0 && fSuccessor != 0) {
    const std::uint32_t cs = CreateSuccessors(true, s, FMinContext);
    SetSuccessor(FFoundState, cs);
    if (cs == 0) {
      RestoreModel(c);
      return;
    }
    FMaxContext = cs;
    return;
  }

  Byte(FText++) = fSymbol;
  std::uint32_t successor = FText;
  if (FText >= FUnitsStart) {
    RestoreModel(c);
    return;
  }

  if (fSuccessor == 0) {
    fSuccessor = ReduceOrder(s, FMinContext);
    if (fSuccessor == 0) {
      RestoreModel(c);
      return;
    }
  } else if (fSuccessor < FUnitsStart) {
    fSuccessor = CreateSuccessors(false, s, FMinContext);
    if (fSuccessor == 0) {
      RestoreModel(c);
      return;
    }
  }

  if (--FOrderFall == 0) {
    successor = fSuccessor;
    FText -= (FMaxContext != FMinContext);
  }

  const unsigned ns = NumStats(FMinContext);
  const std::uint32_t s0 = SummFreq(FMinContext) - ns - fFreq;
  const auto flag = static_cast<std::uint8_t>(0x08 * (fSymbol >= 0x40));
  for (; c != FMinContext; c = Suffix(c)) {
    const unsigned ns1 = NumStats(c);
    if (ns1 != 0) {
      if ((ns1 & 1) != 0) {
        // The stats array is full: grow it by one unit when that changes its size class.
        const unsigned oldUnits = (ns1 + 1) >> 1;
        const unsigned i = U2I(oldUnits);
        if (i != U2I(oldUnits + 1)) {
          const std::uint32_t grown = AllocUnits(i + 1);
          if (grown == 0) {
            RestoreModel(c);
            return;
          }
          const std::uint32_t old = Stats(c);
          CopyUnits(grown, old, oldUnits);
          InsertNode(old, i);
          SetStats(c, grown);
        }
      }
      SetSummFreq(c, SummFreq(c) + (3 * ns1 + 1 < ns));
    } else {
      const std::uint32_t s2 = AllocUnits(0);
      if (s2 == 0) {
        RestoreModel(c);
        return;
      }
      CopyState(s2, OneState(c));
      SetStats(c, s2);
      if (Freq(s2) < kMaxFreq / 4 - 1) Freq(s2) = static_cast<std::uint8_t>(Freq(s2) * 2);
      else Freq(s2) = kMaxFreq - 4;
      SetSummFreq(c, Freq(s2) + FInitEsc + (ns > 2));
    }
    std::uint32_t cf = 2 * fFreq * (SummFreq(c) + 6);
    const std::uint32_t sf = s0 + SummFreq(c);
    if (cf < 6 * sf) {
      cf = 1 + (cf > sf) + (cf >= 4 * sf);
      SetSummFreq(c, SummFreq(c) + 4);
    } else {
      cf = 4 + (cf > 9 * sf) + (cf > 12 * sf) + (cf > 15 * sf);
      SetSummFreq(c, SummFreq(c) + cf);
    }
    const std::uint32_t added = Stats(c) + (ns1 + 1) * kStateSize;
    SetSuccessor(added, successor);
    Symbol(added) = fSymbol;
    Freq(added) = static_cast<std::uint8_t>(cf);
    Flags(c) |= flag;
    NumStats(c) = static_cast<std::uint8_t>(ns1 + 1);
  }
  FMaxContext = fSuccessor;
}

void TPpmdModel::Rescale() {
  const std::uint32_t mc = FMinContext;
  const std::uint32_t stats = Stats(mc);
  std::uint32_t s = FFoundState;
  std::uint8_t tmp[kStateSize];
  // The found state moves to the front, then the list is halved and kept sorted by frequency.
  if (s != stats) {
    std::memcpy(tmp, FBase + s, kStateSize);
    for (; s != stats; s -= kStateSize) CopyState(s, s - kStateSize);
    std::memcpy(FBase + s, tmp, kStateSize);
  }
  std::uint32_t escFreq = SummFreq(mc) - Freq(s);
  const unsigned adder = FOrderFall != 0;
  Freq(s) = static_cast<std::uint8_t>((Freq(s) + 4 + adder) >> 1);
  std::uint32_t sumFreq = Freq(s);
  unsigned i = NumStats(mc);
  do {
    s += kStateSize;
    escFreq -= Freq(s);
    Freq(s) = static_cast<std::uint8_t>((Freq(s) + adder) >> 1);
    sumFreq += Freq(s);
    if (Freq(s) > Freq(s - kStateSize)) {
      std::memcpy(tmp, FBase + s, kStateSize);
      std::uint32_t s1 = s;
      do {
        CopyState(s1, s1 - kStateSize);
        s1 -= kStateSize;
      } while (s1 != stats && tmp[1] > Freq(s1 - kStateSize));
      std::memcpy(FBase + s1, tmp, kStateSize);
    }
  } while (--i);

  if (Freq(s) == 0) {
    const unsigned numStats = NumStats(mc);
    do {
      ++i;
      s -= kStateSize;
    } while (Freq(s) == 0);
    escFreq += i;
    NumStats(mc) = static_cast<std::uint8_t>(numStats - i);
    if (NumStats(mc) == 0) {
      std::memcpy(tmp, FBase + stats, kStateSize);
      tmp[1] = static_cast<std::uint8_t>(std::min<std::uint32_t>((2 * tmp[1] + escFreq - 1) / escFreq, kMaxFreq / 3));
      InsertNode(stats, U2I((numStats + 2) >> 1));
      Flags(mc) = static_cast<std::uint8_t>((Flags(mc) & 0x10) + 0x08 * (tmp[0] >= 0x40));
      FFoundState = OneState(mc);
      std::memcpy(FBase + FFoundState, tmp, kStateSize);
      return;
    }
    const unsigned n0 = (numStats + 2) >> 1;
    const unsigned n1 = (NumStats(mc) + 2u) >> 1;
    if (n0 != n1) SetStats(mc, ShrinkUnits(stats, n0, n1));
    std::uint8_t flags = Flags(mc) & ~0x08;
    s = Stats(mc);
    for (unsigned k = 0; k <= NumStats(mc); ++k, s += kStateSize) flags |= 0x08 * (Symbol(s) >= 0x40);
    Flags(mc) = flags;
  }
  SetSummFreq(mc, sumFreq + escFreq - (escFreq >> 1));
  Flags(mc) |= 0x04;
  FFoundState = Stats(mc);
}

void TPpmdModel::Refresh(std::uint32_t c, unsigned oldUnits, unsigned scale) {
  unsigned i = NumStats(c);
  std::uint32_t s = ShrinkUnits(Stats(c), oldUnits, (i + 2) >> 1);
  SetStats(c, s);
  unsigned flags = (Flags(c) & (0x10 + 0x04 * scale)) + 0x08 * (Symbol(s) >= 0x40);
  std::uint32_t escFreq = SummFreq(c) - Freq(s);
  Freq(s) = static_cast<std::uint8_t>((Freq(s) + scale) >> scale);
  std::uint32_t sumFreq = Freq(s);
  do {
    s += kStateSize;
    escFreq -= Freq(s);
    Freq(s) = static_cast<std::uint8_t>((Freq(s) + scale) >> scale);
    sumFreq += Freq(s);
    flags |= 0x08 * (Symbol(s) >= 0x40);
  } while (--i);
  SetSummFreq(c, sumFreq + ((escFreq + scale) >> scale));
  Flags(c) = static_cast<std::uint8_t>(flags);
}

// Drops every branch that still points into the text and every context beyond the model
// order, shrinking what is left; returns the context or null when nothing of it remains.
std::uint32_t TPpmdModel::CutOff(std::uint32_t c, unsigned order) {
  if (NumStats(c) == 0) {
    const std::uint32_t s = OneState(c);
    if (Successor(s) >= FUnitsStart) {
      if (order < FMaxOrder) SetSuccessor(s, CutOff(Successor(s), order + 1));
      else SetSuccessor(s, 0);
      if (Successor(s) != 0 || order <= 9) return c;
    }
    SpecialFreeUnit(c);
    return 0;
  }

  const unsigned units = (NumStats(c) + 2u) >> 1;
  SetStats(c, MoveUnitsUp(Stats(c), units));
  int last = NumStats(c);
  for (int k = last; k >= 0; --k) {
    const std::uint32_t s = Stats(c) + static_cast<std::uint32_t>(k) * kStateSize;
    if (Successor(s) < FUnitsStart) {
      SetSuccessor(s, 0);
      SwapStates(s, Stats(c) + static_cast<std::uint32_t>(last--) * kStateSize);
    } else if (order < FMaxOrder) {
      SetSuccessor(s, CutOff(Successor(s), order + 1));
    } else {
      SetSuccessor(s, 0);
    }
  }

  if (last != NumStats(c) && order != 0) {
    NumStats(c) = static_cast<std::uint8_t>(last);
    const std::uint32_t s = Stats(c);
    if (last < 0) {
      FreeUnits(s, units);
      SpecialFreeUnit(c);
      return 0;
    }
    if (last == 0) {
      Flags(c) = static_cast<std::uint8_t>((Flags(c) & 0x10) + 0x08 * (Symbol(s) >= 0x40));
      CopyState(OneState(c), s);
      FreeUnits(s, units);
      Freq(OneState(c)) = static_cast<std::uint8_t>((Freq(OneState(c)) + 11u) >> 3);
    } else {
      Refresh(c, units, SummFreq(c) > 16u * static_cast<unsigned>(last));
    }
  }
  return c;
}

// Memory ran out while the symbol was being added between MaxContext and c1: undoes the
// additions, then restarts the model or cuts it down, as the stream's header asked.
void TPpmdModel::RestoreModel(std::uint32_t c1) {
  FText = kTextStart;
  std::uint32_t c = FMaxContext;
  for (; c != c1; c = Suffix(c)) {
    if (--NumStats(c) == 0) {
      const std::uint32_t s = Stats(c);
      Flags(c) = static_cast<std::uint8_t>((Flags(c) & 0x10) + 0x08 * (Symbol(s) >= 0x40));
      CopyState(OneState(c), s);
      SpecialFreeUnit(s);
      Freq(OneState(c)) = static_cast<std::uint8_t>((Freq(OneState(c)) + 11u) >> 3);
    } else {
      Refresh(c, (NumStats(c) + 3u) >> 1, 0);
    }
  }
  for (; c != FMinContext; c = Suffix(c)) {
    if (NumStats(c) == 0) {
      Freq(OneState(c)) -= Freq(OneState(c)) >> 1;
    } else {
      SetSummFreq(c, SummFreq(c) + 4);
      if (SummFreq(c) > 128u + 4u * NumStats(c)) Refresh(c, (NumStats(c) + 2u) >> 1, 1);
    }
  }

  if (FRestoreMethod == kRestoreRestart || UsedMemory() < (FSize >> 1)) {
    RestartModel();
    return;
  }
  while (Suffix(FMaxContext) != 0) FMaxContext = Suffix(FMaxContext);
  for (;;) {
    const std::uint32_t used = UsedMemory();
    CutOff(FMaxContext, 0);
    ExpandTextArea();
    if (UsedMemory() <= 3 * (FSize >> 2)) break;
    // What one pass cannot free, none will: the next passes would repeat it for ever.
    if (UsedMemory() >= used) DataError();
  }
  FGlueCount = 0;
  FOrderFall = FMaxOrder;
}

void TPpmdModel::NextContext() {
  const std::uint32_t c = Successor(FFoundState);
  if (FOrderFall == 0 && c >= FUnitsStart) {
    FMinContext = FMaxContext = c;
  } else {
    UpdateModel();
    FMinContext = FMaxContext;
  }
}

void TPpmdModel::Update1() {
  std::uint32_t s = FFoundState;
  Freq(s) += 4;
  SetSummFreq(FMinContext, SummFreq(FMinContext) + 4);
  if (Freq(s) > Freq(s - kStateSize)) {
    SwapStates(s, s - kStateSize);
    FFoundState = s -= kStateSize;
    if (Freq(s) > kMaxFreq) Rescale();
  }
  NextContext();
}

void TPpmdModel::Update1First() {
  FPrevSuccess = 2 * Freq(FFoundState) >= SummFreq(FMinContext);
  FRunLength = static_cast<std::int32_t>(static_cast<std::uint32_t>(FRunLength) + FPrevSuccess);
  SetSummFreq(FMinContext, SummFreq(FMinContext) + 4);
  Freq(FFoundState) += 4;
  if (Freq(FFoundState) > kMaxFreq) Rescale();
  NextContext();
}

void TPpmdModel::Update2() {
  SetSummFreq(FMinContext, SummFreq(FMinContext) + 4);
  Freq(FFoundState) += 4;
  if (Freq(FFoundState) > kMaxFreq) Rescale();
  FRunLength = FInitRL;
  UpdateModel();
  FMinContext = FMaxContext;
}

void TPpmdModel::UpdateBinary() {
  Freq(FFoundState) += Freq(FFoundState) < 196;
  FPrevSuccess = 1;
  // Wraps instead of overflowing on endless runs; only its sign bit is ever read.
  FRunLength = static_cast<std::int32_t>(static_cast<std::uint32_t>(FRunLength) + 1);
  NextContext();
}

TPpmdModel::TSee* TPpmdModel::MakeEscFreq(unsigned numMasked, std::uint32_t& escFreq) {
  const std::uint32_t mc = FMinContext;
  const unsigned numStats = NumStats(mc);
  if (numStats == 0xFF) {
    escFreq = 1;
    return &FDummySee;
  }
  const unsigned column = (SummFreq(mc) > 11 * (numStats + 1)) +
                          2 * (2 * numStats < NumStats(Suffix(mc)) + numMasked) + Flags(mc);
  TSee* see = &FSee[kTables.NS2Indx[numStats + 2] - 3][column & 31];
  const std::uint32_t r = see->Summ >> see->Shift;
  see->Summ = static_cast<std::uint16_t>(see->Summ - r);
  escFreq = r + (r == 0);
  return see;
}

int TPpmdModel::DecodeSymbol(TPpmdRangeDecoder& decoder) {
  // 0 marks a symbol already ruled out by a longer context.
  std::uint8_t charMask[256];
  std::uint32_t mc = FMinContext;
  if (NumStats(mc) != 0) {
    std::uint32_t s = Stats(mc);
    const std::uint32_t summFreq = SummFreq(mc);
    const std::uint32_t count = decoder.Threshold(summFreq);
    std::uint32_t hiCnt = Freq(s);
    if (count < hiCnt) {
      decoder.Decode(0, hiCnt);
      FFoundState = s;
      const std::uint8_t symbol = Symbol(s);
      Update1First();
      return symbol;
    }
    FPrevSuccess = 0;
    unsigned i = NumStats(mc);
    do {
      s += kStateSize;
      hiCnt += Freq(s);
      if (hiCnt > count) {
        decoder.Decode(hiCnt - Freq(s), Freq(s));
        FFoundState = s;
        const std::uint8_t symbol = Symbol(s);
        Update1();
        return symbol;
      }
    } while (--i);
    if (count >= summFreq) DataError();
    decoder.Decode(hiCnt, summFreq - hiCnt);
    std::memset(charMask, 0xFF, sizeof charMask);
    s = Stats(mc);
    for (unsigned k = 0; k <= NumStats(mc); ++k, s += kStateSize) charMask[Symbol(s)] = 0;
  } else {
    const std::uint32_t s = OneState(mc);
    const unsigned column = kTables.NS2BSIndx[NumStats(Suffix(mc))] + FPrevSuccess + Flags(mc) +
                            ((static_cast<std::uint32_t>(FRunLength) >> 26) & 0x20);
    std::uint16_t& prob = FBinSumm[kTables.NS2Indx[(Freq(s) - 1u) & 0xFF]][column & 63];
    const std::uint32_t p = prob;
    if (decoder.BinaryThreshold() < p) {
      decoder.Decode(0, p);
      prob = static_cast<std::uint16_t>(p + (1u << kIntBits) - ((p + (1u << (kPeriodBits - 2))) >> kPeriodBits));
      FFoundState = s;
      const std::uint8_t symbol = Symbol(s);
      UpdateBinary();
      return symbol;
    }
    decoder.Decode(p, kBinScale - p);
    prob = static_cast<std::uint16_t>(p - ((p + (1u << (kPeriodBits - 2))) >> kPeriodBits));
    FInitEsc = kExpEscape[(prob >> 10) & 15];
    std::memset(charMask, 0xFF, sizeof charMask);
    charMask[Symbol(s)] = 0;
    FPrevSuccess = 0;
  }

  for (;;) {
    const unsigned numMasked = NumStats(FMinContext);
    do {
      ++FOrderFall;
      const std::uint32_t suffix = Suffix(FMinContext);
      if (suffix == 0) return -1;
      FMinContext = suffix;
    } while (NumStats(FMinContext) == numMasked);
    mc = FMinContext;
    if (NumStats(mc) < numMasked) DataError();

    std::uint32_t ps[257];
    const unsigned num = NumStats(mc) - numMasked;
    unsigned n = 0;
    std::uint32_t hiCnt = 0;
    std::uint32_t s = Stats(mc);
    // Without branches: every state is written, and the count moves on past the unmasked ones.
    for (unsigned k = 0; k <= NumStats(mc); ++k, s += kStateSize) {
      const std::uint32_t open = charMask[Symbol(s)];
      hiCnt += Freq(s) & open;
      ps[n] = s;
      n += open & 1;
    }
    if (n != num) DataError();

    std::uint32_t freqSum;
    TSee* see = MakeEscFreq(numMasked, freqSum);
    freqSum += hiCnt;
    const std::uint32_t count = decoder.Threshold(freqSum);
    if (count < hiCnt) {
      unsigned k = 0;
      hiCnt = Freq(ps[0]);
      while (hiCnt <= count) hiCnt += Freq(ps[++k]);
      s = ps[k];
      decoder.Decode(hiCnt - Freq(s), Freq(s));
      if (see->Shift < kPeriodBits && --see->Count == 0) {
        see->Summ = static_cast<std::uint16_t>(see->Summ * 2);
        see->Count = static_cast<std::uint8_t>(3 << see->Shift++);
      }
      FFoundState = s;
      const std::uint8_t symbol = Symbol(s);
      Update2();
      return symbol;
    }
    if (count >= freqSum) DataError();
    decoder.Decode(hiCnt, freqSum - hiCnt);
    see->Summ = static_cast<std::uint16_t>(see->Summ + freqSum);
    for (unsigned k = 0; k < n; ++k) charMask[Symbol(ps[k])] = 0;
  }
}

}  // namespace pavona::package
