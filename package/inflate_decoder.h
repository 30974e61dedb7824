// The block decoder behind InflateStream.
#pragma once

#include <array>
#include <cstdint>

#include "package/inflate.h"
#include "package/inflate_bit_stream.h"
#include "package/inflate_huffman.h"
#include "package/inflate_window.h"

namespace pavona::package {

class TInflater {
 public:
  TInflater(platform::TStream& input, platform::TStream& output, const TDeflateHelper& options);

  // Decodes blocks up to and including the final one, then writes out the rest of the window.
  void Run();

 private:
  // 11 bits cover all literals and the common lengths of typical data in one lookup; 8 bits
  // cover the common distance codes. Longer codes go through one subtable.
  using TLitLenTree = TDfDecodeHuffmanTree<11, 288>;
  using TDistanceTree = TDfDecodeHuffmanTree<8, 32>;
  using TCodeLengthTree = TDfDecodeHuffmanTree<7, 19, 7>;  // 3-bit lengths: no subtables

  void InflateStoredBlock();
  void LoadFixedTables();
  void InflateDynamicBlock();
  void ReadLitDistCodeLengths(unsigned litLenCount, unsigned distanceCount);
  void DecodeData();
  // Decodes symbols while the input and output have room for any symbol without checks;
  // returns true at the end of the block, false when the input runs low.
  bool DecodeDataFast();
  // Decodes one symbol with every read checked; returns true at the end of the block.
  bool DecodeSymbolChecked();

  bool FDeflate64;
  const std::uint32_t* FLitLenTemplates;
  const std::uint32_t* FDistanceTemplates;
  bool FFixedTablesLoaded = false;
  TDfInBitStream FBits;
  TDfOutputWindow FWindow;
  TLitLenTree FLitLen;
  TDistanceTree FDistance;
  TCodeLengthTree FCodeLength;
};

}  // namespace pavona::package
