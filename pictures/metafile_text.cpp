#include "pictures/metafile_text.h"

#include "base/ascii.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <tuple>
#include <vector>

#include "platform/font_files.h"

namespace pavona::pictures {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Glyphs larger than this are not drawn: a hostile font height must not make FreeType render
// huge bitmaps.
constexpr double kMaxEmPixels = 1024;
// An unset height: about the size of the screen's default font.
constexpr double kDefaultEmPixels = 13;

std::string Stem(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.find_last_of('.');
  return base::AsciiLowerCase(dot == std::string::npos ? name : name.substr(0, dot));
}

// Without the host's font configuration: a generic face of the same kind among the files.
std::string PickFromFiles(const std::string& faceName, bool bold, bool italic) {
  static const std::vector<std::string> files = platform::ListFontFiles();
  if (files.empty()) return {};
  const std::string face = base::AsciiLowerCase(faceName);
  const auto has = [&](const char* word) { return face.find(word) != std::string::npos; };
  std::vector<std::string> bases;
  if (has("mono") || has("courier") || has("consol") || has("fixed")) {
    bases = {"dejavusansmono", "liberationmono", "freemono"};
  } else if ((has("serif") && !has("sans")) || has("times") || has("roman") || has("georgia") ||
             has("garamond") || has("book")) {
    bases = {"dejavuserif", "liberationserif", "freeserif"};
  } else {
    bases = {"dejavusans", "liberationsans", "freesans"};
  }
  std::vector<std::string> suffixes;
  if (bold && italic) {
    suffixes = {"-bolditalic", "-boldoblique", "boldoblique", "bolditalic"};
  } else if (bold) {
    suffixes = {"-bold", "bold"};
  } else if (italic) {
    suffixes = {"-italic", "-oblique", "oblique", "italic"};
  } else {
    suffixes = {"", "-regular", "-book"};
  }
  for (const std::string& base : bases) {
    for (const std::string& suffix : suffixes) {
      for (const std::string& file : files) {
        if (Stem(file) == base + suffix) return file;
      }
    }
  }
  for (const std::string& base : bases) {
    for (const std::string& file : files) {
      if (Stem(file) == base) return file;
    }
  }
  return files.front();
}

// The FreeType library and the faces opened so far, shared by every drawing. One lock guards
// them: FreeType objects are not to be used from two threads at once.
class TFontLibrary {
 public:
  static TFontLibrary& Instance() {
    static TFontLibrary library;
    return library;
  }
  TFontLibrary(const TFontLibrary&) = delete;
  TFontLibrary& operator=(const TFontLibrary&) = delete;

  std::mutex& Mutex() { return FMutex; }

  // The face of a font file, opened on first use; null when it cannot be opened.
  FT_Face Face(const std::string& path) {
    if (!FLibrary || path.empty()) return nullptr;
    auto found = FFaces.find(path);
    if (found != FFaces.end()) return found->second.get();
    FT_Face face = nullptr;
    if (FT_New_Face(FLibrary, path.c_str(), 0, &face) != 0) face = nullptr;
    FFaces.emplace(path, TFace(face));
    return face;
  }

  std::string& CachedChoice(const std::tuple<std::string, int, bool>& key, bool& found) {
    auto it = FChoices.find(key);
    found = it != FChoices.end();
    return found ? it->second : FChoices[key];
  }

 private:
  struct TFaceDone {
    void operator()(FT_Face face) const {
      if (face) FT_Done_Face(face);
    }
  };
  using TFace = std::unique_ptr<FT_FaceRec_, TFaceDone>;

  TFontLibrary() {
    if (FT_Init_FreeType(&FLibrary) != 0) FLibrary = nullptr;
  }
  ~TFontLibrary() {
    FFaces.clear();
    if (FLibrary) FT_Done_FreeType(FLibrary);
  }

  std::mutex FMutex;
  FT_Library FLibrary = nullptr;
  std::map<std::string, TFace> FFaces;
  std::map<std::tuple<std::string, int, bool>, std::string> FChoices;
};

std::string ChooseFontFile(const std::string& faceName, int weight, bool italic) {
  if (auto file = platform::MatchFontFile(faceName.empty() ? "sans-serif" : faceName, weight,
                                          italic)) {
    return *file;
  }
  return PickFromFiles(faceName, weight >= 600, italic);
}

std::string FontFileLocked(const std::string& faceName, int weight, bool italic) {
  const int styleWeight = weight >= 600 ? 700 : 400;
  bool found = false;
  std::string& choice =
      TFontLibrary::Instance().CachedChoice({faceName, styleWeight, italic}, found);
  if (!found) choice = ChooseFontFile(faceName, styleWeight, italic);
  return choice;
}

}  // namespace

std::u32string DecodeAnsi(std::span<const std::uint8_t> bytes) {
  // The characters Windows-1252 puts where Latin-1 has control codes; 0 where it has none.
  static constexpr char16_t kHigh[32] = {
      0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};
  std::u32string text;
  for (const std::uint8_t b : bytes) {
    if (b == 0) break;
    const char32_t c = b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : b;
    text.push_back(c != 0 ? c : U'?');
  }
  return text;
}

std::string FontFileFor(const std::string& faceName, int weight, bool italic) {
  std::lock_guard lock(TFontLibrary::Instance().Mutex());
  return FontFileLocked(faceName, weight, italic);
}

double TMetafileText::Draw(TMetafileCanvas& canvas, const TDcState& state, const TMatrix& m,
                           TPointF origin, const std::u32string& text,
                           std::span<const double> advances) {
  TFontLibrary& library = TFontLibrary::Instance();
  std::lock_guard lock(library.Mutex());
  const TFont& font = state.Font;
  FT_Face face = library.Face(FontFileLocked(font.FaceName, font.Weight, font.Italic));
  if (!face) return 0;

  const double xScale = VectorLength(m.M11, m.M12);
  const double yScale = VectorLength(m.M21, m.M22);
  double em = kDefaultEmPixels;
  if (font.Height < 0) {
    em = -static_cast<double>(font.Height) * yScale;
  } else if (font.Height > 0) {
    const double cell = static_cast<double>(face->ascender - face->descender);
    em = font.Height * yScale * (cell > 0 ? face->units_per_EM / cell : 1);
  }
  if (!(em >= 1) || em > kMaxEmPixels) return 0;
  if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(std::lround(em))) != 0) return 0;

  // The baseline's direction on the bitmap: the escapement turned by the mapping's own rotation
  // (a mirroring mapping does not mirror text).
  const double angle = font.Escapement * kPi / 1800 + std::atan2(-m.M12, std::fabs(m.M11));
  const TPointF along{std::cos(angle), -std::sin(angle)};
  const TPointF down{std::sin(angle), std::cos(angle)};
  FT_Matrix rotation;
  rotation.xx = static_cast<FT_Fixed>(std::cos(angle) * 65536);
  rotation.xy = static_cast<FT_Fixed>(-std::sin(angle) * 65536);
  rotation.yx = static_cast<FT_Fixed>(std::sin(angle) * 65536);
  rotation.yy = static_cast<FT_Fixed>(std::cos(angle) * 65536);
  FT_Set_Transform(face, &rotation, nullptr);

  const bool embolden = font.Weight >= 600 && !(face->style_flags & FT_STYLE_FLAG_BOLD);
  const bool slant = font.Italic && !(face->style_flags & FT_STYLE_FLAG_ITALIC);
  const auto load = [&](char32_t c) {
    if (FT_Load_Char(face, c, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_MONO) != 0) return false;
    if (slant) FT_GlyphSlot_Oblique(face->glyph);
    if (embolden) FT_GlyphSlot_Embolden(face->glyph);
    return true;
  };

  // Pass one: where each character starts along the baseline, in pixels.
  std::vector<double> offsets(text.size() + 1, 0);
  for (std::size_t i = 0; i < text.size(); ++i) {
    double step = 0;
    if (i < advances.size()) {
      step = advances[i] * xScale;
    } else if (load(text[i])) {
      step = VectorLength(face->glyph->advance.x / 64.0, face->glyph->advance.y / 64.0);
    }
    offsets[i + 1] = offsets[i] + (std::isfinite(step) ? step : 0);
  }
  const double width = offsets.back();
  const double ascent = face->size->metrics.ascender / 64.0;
  const double descent = -face->size->metrics.descender / 64.0;

  TPointF start = m.Map(origin);
  double shift = 0;
  switch (state.TextAlign & 6) {
    case 2: shift = -width; break;     // TA_RIGHT
    case 6: shift = -width / 2; break; // TA_CENTER
    default: break;
  }
  double drop = ascent;  // TA_TOP: the reference point is the top of the cell
  switch (state.TextAlign & 24) {
    case 8: drop = -descent; break;  // TA_BOTTOM
    case 24: drop = 0; break;        // TA_BASELINE
    default: break;
  }
  const TPointF base{start.X + along.X * shift + down.X * drop,
                     start.Y + along.Y * shift + down.Y * drop};
  const auto at = [&](double a, double d) {
    return TPointF{base.X + along.X * a + down.X * d, base.Y + along.Y * a + down.Y * d};
  };
  const auto band = [&](double a0, double a1, double d0, double d1, raster::Pixel colour) {
    const TContour box{at(a0, d0), at(a1, d0), at(a1, d1), at(a0, d1)};
    canvas.Fill(canvas.PolygonRegion({&box, 1}, raster::FillMode::Winding),
                TFill::Solid(colour));
  };
  if (state.BkOpaque && width > 0) band(0, width, -ascent, descent, state.BkColour);

  const raster::Rect visible = canvas.Clip().bounds();
  for (std::size_t i = 0; i < text.size(); ++i) {
    // Glyphs that cannot reach a drawable pixel are not rendered at all.
    const TPointF pen = at(offsets[i], 0);
    if (pen.X < visible.Left - 2 * em || pen.X > visible.Right + 2 * em ||
        pen.Y < visible.Top - 2 * em || pen.Y > visible.Bottom + 2 * em) {
      continue;
    }
    if (!load(text[i]) || FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO) != 0) continue;
    const FT_Bitmap& bitmap = face->glyph->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO) continue;
    const int left = static_cast<int>(std::floor(pen.X + 0.5)) + face->glyph->bitmap_left;
    const int top = static_cast<int>(std::floor(pen.Y + 0.5)) - face->glyph->bitmap_top;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
      const unsigned char* bits = bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
      for (unsigned col = 0; col < bitmap.width; ++col) {
        if (bits[col >> 3] & (0x80 >> (col & 7))) {
          canvas.Plot(left + static_cast<int>(col), top + static_cast<int>(row), state.TextColour);
        }
      }
    }
  }
  const double thickness = std::max(1.0, em / 14);
  if (font.Underline) band(0, width, descent / 2, descent / 2 + thickness, state.TextColour);
  if (font.StrikeOut) band(0, width, -ascent / 3, -ascent / 3 + thickness, state.TextColour);
  FT_Set_Transform(face, nullptr, nullptr);
  return xScale > 0 ? width / xScale : 0;
}

}  // namespace pavona::pictures
