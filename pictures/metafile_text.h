// Text of metafiles, drawn with FreeType from a font file of the host that matches the logical
// font's face name, weight and slant (or a generic face of its kind). Glyphs are rendered
// without anti-aliasing, like the rest of the picture. Where the host has no usable font the
// text is left out and the rest of the picture still draws.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "pictures/metafile_canvas.h"
#include "pictures/metafile_geometry.h"
#include "pictures/metafile_state.h"

namespace pavona::pictures {

class TMetafileText {
 public:
  // Draws text at origin (logical) with the state's font, text colour, background mode and
  // alignment through m (logical to bitmap pixels). advances, when not empty, gives the logical
  // distance from each character to the next. Returns the logical width of the text.
  double Draw(TMetafileCanvas& canvas, const TDcState& state, const TMatrix& m, TPointF origin,
              const std::u32string& text, std::span<const double> advances);
};

// Text of a record in the ANSI code page (Windows-1252), up to its first zero.
std::u32string DecodeAnsi(std::span<const std::uint8_t> bytes);

// The font file chosen for a face name, weight and slant; "" when the host has none.
std::string FontFileFor(const std::string& faceName, int weight, bool italic);

}  // namespace pavona::pictures
