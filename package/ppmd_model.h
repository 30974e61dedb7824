// The PPMd variant I (revision 1) context model of ZIP method 98, decoding side. All contexts,
// symbol statistics and the text of recent symbols live in one arena of the size the entry's
// header names, addressed by 32-bit offsets; offset 0 is the null reference.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "package/ppmd_range_decoder.h"

namespace pavona::package {

class TPpmdModel {
 public:
  static constexpr unsigned kMinOrder = 2;
  static constexpr unsigned kMaxOrder = 16;
  static constexpr unsigned kRestoreRestart = 0;
  static constexpr unsigned kRestoreCutOff = 1;
  static constexpr std::uint32_t kMaxMemory = 256u << 20;

  // Allocates the arena once; memorySize is at most kMaxMemory.
  explicit TPpmdModel(std::uint32_t memorySize);

  // Empties the model for a new stream.
  void Start(unsigned maxOrder, unsigned restoreMethod);

  // The next byte, or -1 at the stream's end marker. Undecodable data raises EPPMdError.
  int DecodeSymbol(TPpmdRangeDecoder& decoder);

 private:
  struct TSee {
    std::uint16_t Summ;
    std::uint8_t Shift;
    std::uint8_t Count;
  };
  static constexpr unsigned kNumIndexes = 38;

  // Arena access. Fields are copied byte-wise, so no alignment or aliasing rule is involved.
  std::uint8_t& Byte(std::uint32_t offset) { return FBase[offset]; }
  std::uint16_t Load16(std::uint32_t offset) const;
  std::uint32_t Load32(std::uint32_t offset) const;
  void Store16(std::uint32_t offset, std::uint32_t value);
  void Store32(std::uint32_t offset, std::uint32_t value);

  // A context: symbol count - 1, flags, total frequency (or the only state), stats, suffix.
  std::uint8_t& NumStats(std::uint32_t c) { return FBase[c]; }
  std::uint8_t& Flags(std::uint32_t c) { return FBase[c + 1]; }
  std::uint32_t SummFreq(std::uint32_t c) const { return Load16(c + 2); }
  void SetSummFreq(std::uint32_t c, std::uint32_t value) { Store16(c + 2, value); }
  std::uint32_t Stats(std::uint32_t c) const { return Load32(c + 4); }
  void SetStats(std::uint32_t c, std::uint32_t value) { Store32(c + 4, value); }
  std::uint32_t Suffix(std::uint32_t c) const { return Load32(c + 8); }
  void SetSuffix(std::uint32_t c, std::uint32_t value) { Store32(c + 8, value); }
  static std::uint32_t OneState(std::uint32_t c) { return c + 2; }

  // A state: symbol, frequency, successor (a context, a text position or null).
  std::uint8_t& Symbol(std::uint32_t s) { return FBase[s]; }
  std::uint8_t& Freq(std::uint32_t s) { return FBase[s + 1]; }
  std::uint32_t Successor(std::uint32_t s) const { return Load32(s + 2); }
  void SetSuccessor(std::uint32_t s, std::uint32_t value) { Store32(s + 2, value); }
  void CopyState(std::uint32_t to, std::uint32_t from);
  void SwapStates(std::uint32_t a, std::uint32_t b);
  std::uint32_t FindState(std::uint32_t c, std::uint8_t symbol);

  // The unit allocator.
  void InsertNode(std::uint32_t node, unsigned index);
  std::uint32_t RemoveNode(unsigned index);
  void SplitBlock(std::uint32_t block, unsigned oldIndex, unsigned newIndex);
  void GlueFreeBlocks();
  std::uint32_t AllocUnitsRare(unsigned index);
  std::uint32_t AllocUnits(unsigned index);
  std::uint32_t AllocContext();
  std::uint32_t ShrinkUnits(std::uint32_t block, unsigned oldUnits, unsigned newUnits);
  std::uint32_t MoveUnitsUp(std::uint32_t block, unsigned units);
  void SpecialFreeUnit(std::uint32_t block);
  void FreeUnits(std::uint32_t block, unsigned units);
  void ExpandTextArea();
  std::uint32_t UsedMemory() const;
  void CopyUnits(std::uint32_t to, std::uint32_t from, unsigned units);

  // The model.
  void RestartModel();
  std::uint32_t CreateSuccessors(bool skip, std::uint32_t s1, std::uint32_t c);
  std::uint32_t ReduceOrder(std::uint32_t s1, std::uint32_t c);
  void UpdateModel();
  void Rescale();
  void Refresh(std::uint32_t c, unsigned oldUnits, unsigned scale);
  std::uint32_t CutOff(std::uint32_t c, unsigned order);
  void RestoreModel(std::uint32_t c1);
  void NextContext();
  void Update1();
  void Update1First();
  void Update2();
  void UpdateBinary();
  TSee* MakeEscFreq(unsigned numMasked, std::uint32_t& escFreq);

  std::unique_ptr<std::uint8_t[]> FArena;
  std::uint8_t* FBase;
  std::uint32_t FSize;

  std::uint32_t FText = 0;
  std::uint32_t FUnitsStart = 0;
  std::uint32_t FLoUnit = 0;
  std::uint32_t FHiUnit = 0;
  std::uint32_t FGlueCount = 0;
  std::array<std::uint32_t, kNumIndexes> FFreeList{};
  std::array<std::uint32_t, kNumIndexes> FStamps{};

  std::uint32_t FMinContext = 0;
  std::uint32_t FMaxContext = 0;
  std::uint32_t FFoundState = 0;
  unsigned FOrderFall = 0;
  unsigned FInitEsc = 0;
  unsigned FPrevSuccess = 0;
  unsigned FMaxOrder = 0;
  unsigned FRestoreMethod = 0;
  std::int32_t FRunLength = 0;
  std::int32_t FInitRL = 0;

  std::uint16_t FBinSumm[25][64] = {};
  TSee FSee[24][32] = {};
  TSee FDummySee = {};
};

}  // namespace pavona::package
