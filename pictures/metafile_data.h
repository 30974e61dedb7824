// A metafile file checked and measured: a Windows metafile (with or without the placeable
// header) or an enhanced metafile. Parsing walks every record once, so playback can trust that
// each record's size lies inside the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "pictures/metafile_geometry.h"
#include "raster/geometry.h"

namespace pavona::pictures {

extern const char* const kInvalidMetafile;  // "Metafile is not valid"

// One record: its type (WMF function or EMF record type) and its parameters, the bytes after
// the size and type fields.
struct TMetafileRecord {
  std::uint32_t Type = 0;
  std::span<const std::uint8_t> Params;
};

struct TMetafileData {
  bool Enhanced = false;
  std::vector<std::uint8_t> Bytes;
  std::vector<TMetafileRecord> Records;  // pointing into Bytes; the end-of-file record left out
  int Width = 0;   // natural size in pixels
  int Height = 0;
  std::size_t ObjectCount = 0;

  // Windows metafile: the window the picture fills until its records set one.
  TPointF WindowOrg;
  TPointF WindowExt;

  // Enhanced metafile: the picture frame in reference device pixels, and the reference device.
  double FrameLeft = 0, FrameTop = 0, FrameRight = 0, FrameBottom = 0;
  TPointF DevicePx;
  TPointF DeviceMm;
};

// Raises EInvalidGraphic(kInvalidMetafile) for anything that is not a well-formed metafile of
// an acceptable size.
TMetafileData ParseMetafile(std::vector<std::uint8_t> bytes);

class TMetafilePlayer;

// Plays the records into the player. dest: where the picture goes, in bitmap pixels.
void PlayWmfRecords(const TMetafileData& data, TMetafilePlayer& player, const raster::Rect& dest);
void PlayEmfRecords(const TMetafileData& data, TMetafilePlayer& player);

}  // namespace pavona::pictures
