// Pixel loops that several effects share, written for the vectoriser.
#pragma once

#include <cstddef>
#include <cstdint>

#include "raster/bitmap.h"

namespace pavona::transition {

// out[i] := from[i] + floor((to[i] − from[i]) × a / 256) per colour byte, a from 0 to 256; the
// fourth byte keeps from's value. out may be from itself.
void BlendPixels(raster::Pixel* out, const raster::Pixel* from, const raster::Pixel* to,
                 std::size_t count, std::uint32_t a);

// Blends every pixel of the Width × Height block of Dest at (Left, Top) toward the same pixel of
// Source with the weight MulDiv(256, Percent, 100), as BlendPixels does; fourth bytes stay. The
// block is cut to both bitmaps, so a block that reaches beyond them blends only the part inside.
void BlendRect(raster::Bitmap& Dest, const raster::Bitmap& Source, std::int32_t Percent,
               std::int32_t Left, std::int32_t Top, std::int32_t Width, std::int32_t Height);

// out[i] := to[i] where the i-th of count draws NextRandom(100), in order, falls below Percent,
// and from[i] otherwise; RandomSeed ends as after the count draws. out may be from itself.
void DissolvePixels(raster::Pixel* out, const raster::Pixel* from, const raster::Pixel* to,
                    std::size_t count, std::int32_t Percent);

// out[i] := to[i] where mask[i] is all ones and from[i] where it is zero. out may be from itself.
void SelectPixels(raster::Pixel* out, const raster::Pixel* from, const raster::Pixel* to,
                  const raster::Pixel* mask, std::size_t count);

// Per pixel: the bytes set in newBytes come from to, the byte at bit blendShift is blended from
// from toward to with weight a (0 to 256) as BlendPixels blends, and every other byte (the fourth
// among them) keeps from's value. newBytes must not hold the blended byte. out may be from itself.
void MixChannels(raster::Pixel* out, const raster::Pixel* from, const raster::Pixel* to,
                 std::size_t count, raster::Pixel newBytes, int blendShift, std::uint32_t a);

}  // namespace pavona::transition
