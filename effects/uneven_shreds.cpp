#include "effects/uneven_shreds.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "raster/geometry.h"
#include "raster/region.h"
#include "raster/region_builder.h"
#include "transition/random.h"
#include "transition/region_helpers.h"

namespace pavona::effects {

using transition::NextRandom;
using transition::TEffectFrame;

namespace {

// How the strips of one direction grow. Horizontal strips: from the right, from the left, out
// of the vertical middle line (half the length to each side) or in from both sides (half each);
// vertical strips the same with bottom for right, top for left and the horizon for the middle.
enum TShredMode : std::int32_t {
  smNone = 0,
  smFromFar = 1,     // from the right, from the bottom
  smFromNear = 2,    // from the left, from the top
  smFromMiddle = 3,
  smFromBothSides = 4,
};

// The union of the strips' rectangles (already cut to the picture, none empty), assembled band
// by band between the rows where a rectangle starts or ends. A general rectangle list sorts the
// spans of every band, which for the up to a thousand strips of a full-size frame costs more
// than the copy; the strips' own order makes that unnecessary. The strips across come top to
// bottom, so at most two strips (two rectangles each) reach into a band and a cursor finds them;
// the strips down come left to right, so a band's spans arrive in order and merge as they come.
raster::Region BandRegion(const std::vector<raster::Rect>& across,
                          const std::vector<raster::Rect>& down) {
  std::vector<std::int32_t> edges;
  edges.reserve(2 * (across.size() + down.size()));
  for (const auto* rects : {&across, &down}) {
    for (const raster::Rect& r : *rects) {
      edges.push_back(r.Top);
      edges.push_back(r.Bottom);
    }
  }
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());

  raster::RegionBuilder builder;
  std::vector<raster::Rect> inBand;
  std::vector<raster::Span> spans;
  const auto append = [&spans](const raster::Rect& r) {
    if (!spans.empty() && r.Left <= spans.back().right) {
      spans.back().right = std::max(spans.back().right, r.Right);
    } else {
      spans.push_back({r.Left, r.Right});
    }
  };
  std::size_t first = 0;
  for (std::size_t e = 0; e + 1 < edges.size(); ++e) {
    const std::int32_t y = edges[e];
    while (first < across.size() && across[first].Bottom <= y) ++first;
    std::size_t last = first;
    while (last < across.size() && across[last].Top <= y) ++last;
    inBand.assign(across.begin() + static_cast<std::ptrdiff_t>(first),
                  across.begin() + static_cast<std::ptrdiff_t>(last));
    std::sort(inBand.begin(), inBand.end(),
              [](const raster::Rect& a, const raster::Rect& b) { return a.Left < b.Left; });
    spans.clear();
    std::size_t a = 0;
    for (const raster::Rect& r : down) {
      if (r.Top > y || y >= r.Bottom) continue;
      while (a < inBand.size() && inBand[a].Left <= r.Left) append(inBand[a++]);
      append(r);
    }
    while (a < inBand.size()) append(inBand[a++]);
    builder.add_band(y, edges[e + 1], spans);
  }
  return builder.finish();
}

// The strips for the extents XX across and YY down, S = min(W, H) div 200 + 1 thick and each
// overhanging into its neighbour by H mod S (W mod S) so that the last reaches the edge. Every
// strip draws one number, top to bottom then left to right, including those whose jitter is 0:
// its length lies within J of the extent while the extent is short of the picture. A negative
// length gives an inverted rectangle, which holds no pixel.
raster::Region ShredRegion(std::int32_t XX, std::int32_t YY, std::int32_t W, std::int32_t H,
                           TShredMode HMode, TShredMode VMode) {
  const std::int32_t S = std::min(W, H) / 200 + 1;
  const std::int32_t EH = H % S;
  const std::int32_t EW = W % S;
  const std::int32_t MX = W / 2;
  const std::int32_t MY = H / 2;
  // Parts outside the picture, and rectangles left empty or inverted, hold no pixel the copy
  // could write.
  const raster::Rect picture{0, 0, W, H};
  std::vector<raster::Rect> across, down;
  const auto add = [&picture](std::vector<raster::Rect>& rects, const raster::Rect& r) {
    const raster::Rect inside = r.intersected(picture);
    if (!inside.is_empty()) rects.push_back(inside);
  };
  if (HMode != smNone) {
    const std::int32_t J = XX < W ? W / 10 : 0;
    for (std::int32_t Top = 0; Top < H; Top += S) {
      const std::int32_t L = NextRandom(2 * J) - J + XX;
      const std::int32_t Bottom = Top + S + EH;
      const std::int32_t h = L / 2;
      switch (HMode) {
        case smFromFar: add(across, {W - L, Top, W, Bottom}); break;
        case smFromNear: add(across, {0, Top, L, Bottom}); break;
        case smFromMiddle:
          add(across, {MX - h, Top, MX, Bottom});
          add(across, {MX, Top, MX + h, Bottom});
          break;
        default:
          add(across, {W - h, Top, W, Bottom});
          add(across, {0, Top, h, Bottom});
      }
    }
  }
  if (VMode != smNone) {
    const std::int32_t J = YY < H ? H / 10 : 0;
    for (std::int32_t Left = 0; Left < W; Left += S) {
      const std::int32_t L = NextRandom(2 * J) + YY - J;
      const std::int32_t Right = Left + S + EW;
      const std::int32_t h = L / 2;
      switch (VMode) {
        case smFromFar: add(down, {Left, H - L, Right, H}); break;
        case smFromNear: add(down, {Left, 0, Right, L}); break;
        case smFromMiddle:
          add(down, {Left, MY - h, Right, MY});
          add(down, {Left, MY, Right, MY + h});
          break;
        default:
          add(down, {Left, H - h, Right, H});
          add(down, {Left, 0, Right, h});
      }
    }
  }
  return BandRegion(across, down);
}

void RevealShreds(const TEffectFrame& f, std::int32_t XX, std::int32_t YY, TShredMode HMode,
                  TShredMode VMode) {
  transition::CopyThroughRegion(f.Display, f.Image, f.W, f.H,
                                ShredRegion(XX, YY, f.W, f.H, HMode, VMode));
}

}  // namespace

void UnevenShredFromRight(const TEffectFrame& f) { RevealShreds(f, f.X, 0, smFromFar, smNone); }
void UnevenShredFromLeft(const TEffectFrame& f) { RevealShreds(f, f.X, 0, smFromNear, smNone); }
void UnevenShredOutFromMiddle(const TEffectFrame& f) {
  RevealShreds(f, f.X, 0, smFromMiddle, smNone);
}
void UnevenShredInToMiddle(const TEffectFrame& f) {
  RevealShreds(f, f.X, 0, smFromBothSides, smNone);
}
void UnevenShredFromBottom(const TEffectFrame& f) { RevealShreds(f, 0, f.Y, smNone, smFromFar); }
void UnevenShredFromTop(const TEffectFrame& f) { RevealShreds(f, 0, f.Y, smNone, smFromNear); }
void UnevenShredFromHorizon(const TEffectFrame& f) {
  RevealShreds(f, 0, f.Y, smNone, smFromMiddle);
}
void UnevenShredInToHorizon(const TEffectFrame& f) {
  RevealShreds(f, 0, f.Y, smNone, smFromBothSides);
}
void UnevenShredFromBottomAndRight(const TEffectFrame& f) {
  RevealShreds(f, f.X, f.Y, smFromFar, smFromFar);
}
void UnevenShredFromTopAndRight(const TEffectFrame& f) {
  RevealShreds(f, f.X, f.Y, smFromFar, smFromNear);
}
void UnevenShredFromBottomAndLeft(const TEffectFrame& f) {
  RevealShreds(f, f.X, f.Y, smFromNear, smFromFar);
}
void UnevenShredFromTopAndLeft(const TEffectFrame& f) {
  RevealShreds(f, f.X, f.Y, smFromNear, smFromNear);
}
void UnevenShredFromHorizonAndRight(const TEffectFrame& f) {
  RevealShreds(f, f.X, f.Y, smFromFar, smFromMiddle);
}
void UnevenShredFromHorizonAndLeft(const TEffectFrame& f) {
  RevealShreds(f, f.X, f.Y, smFromNear, smFromMiddle);
}
void UnevenShredFromBottomAndVertMiddle(const TEffectFrame& f) {
  RevealShreds(f, f.X, f.Y, smFromMiddle, smFromFar);
}
void UnevenShredFromTopAndVertMiddle(const TEffectFrame& f) {
  RevealShreds(f, f.X, f.Y, smFromMiddle, smFromNear);
}
void UnevenShredFromCentre(const TEffectFrame& f) {
  RevealShreds(f, f.X, f.Y, smFromMiddle, smFromMiddle);
}
void UnevenShredToCentre(const TEffectFrame& f) {
  RevealShreds(f, f.X, f.Y, smFromBothSides, smFromBothSides);
}

}  // namespace pavona::effects
