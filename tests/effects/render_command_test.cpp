// `pavona render` end to end: the frames it writes, and its answers to bad input.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "raster/bitmap.h"
#include "pictures/picture.h"
#include "pictures/png_writer.h"

namespace pavona {
namespace {

constexpr raster::Pixel kOld = raster::MakePixel(200, 40, 0);
constexpr raster::Pixel kNew = raster::MakePixel(0, 90, 250);

class RenderCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = ::testing::TempDir() + "/pavona_render_" +
          ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "'").c_str());
    WriteSolid(dir + "/old.png", 6, 4, kOld);
    WriteSolid(dir + "/new.png", 8, 5, kNew);
  }

  static void WriteSolid(const std::string& path, int w, int h, raster::Pixel color) {
    raster::Bitmap bitmap(w, h);
    bitmap.fill(color);
    pictures::WritePngFile(path, bitmap);
  }

  // Runs `pavona ARGS` in the test folder; returns its exit code, keeps its error output.
  int Run(const std::string& args) {
    const std::string command = "cd '" + dir + "' && '" PAVONA_TOOL "' " + args +
                                " 2> err.txt; echo $? > code.txt";
    std::system(command.c_str());
    std::ifstream err(dir + "/err.txt");
    std::stringstream text;
    text << err.rdbuf();
    errors = text.str();
    int code = -1;
    std::ifstream(dir + "/code.txt") >> code;
    return code;
  }

  raster::Bitmap Read(const std::string& name) {
    pictures::TPicture picture;
    picture.LoadFromFile(dir + "/" + name);
    raster::Bitmap bitmap(picture.Width(), picture.Height());
    picture.Graphic()->Draw(bitmap, raster::Point{0, 0});
    return bitmap;
  }

  static raster::Pixel Blend(int a) {
    raster::Pixel out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
      const int o = static_cast<int>((kOld >> shift) & 0xFF);
      const int n = static_cast<int>((kNew >> shift) & 0xFF);
      out |= static_cast<raster::Pixel>(o + (((n - o) * a) >> 8)) << shift;
    }
    return out;
  }

  std::string dir;
  std::string errors;
};

TEST_F(RenderCommandTest, FadeAtFiftyIsTheExactBlendAtTheNewPicturesSize) {
  ASSERT_EQ(Run("render --style 119 --progress 50 old.png new.png -o out.png"), 0) << errors;
  const raster::Bitmap frame = Read("out.png");
  ASSERT_EQ(frame.size(), (raster::Size{8, 5}));
  for (std::size_t i = 0; i < frame.pixel_count(); ++i) {
    ASSERT_EQ(frame.data()[i] & 0xFFFFFF, Blend(128)) << i;
  }
}

TEST_F(RenderCommandTest, SeveralProgressValuesAndWholeTransitions) {
  ASSERT_EQ(Run("render --style fade --progress 0,24,100 old.png new.png -o out.png"), 0) << errors;
  EXPECT_EQ(Read("out-0.png").pixel(3, 3) & 0xFFFFFF, kOld);
  EXPECT_EQ(Read("out-24.png").pixel(3, 3) & 0xFFFFFF, Blend(61));
  EXPECT_EQ(Read("out-100.png").pixel(3, 3) & 0xFFFFFF, kNew);

  ASSERT_EQ(Run("render --style 119 --frames frames --step 30 old.png new.png"), 0) << errors;
  EXPECT_EQ(Read("frames/000.png").pixel(0, 0) & 0xFFFFFF, kOld);
  EXPECT_EQ(Read("frames/030.png").pixel(0, 0) & 0xFFFFFF, Blend(77));
  EXPECT_EQ(Read("frames/090.png").pixel(0, 0) & 0xFFFFFF, Blend(230));
  EXPECT_EQ(Read("frames/100.png").pixel(0, 0) & 0xFFFFFF, kNew);
  EXPECT_EQ(Run("render --style 119 --frames frames old.png new.png"), 0) << errors;
  Read("frames/096.png");
}

TEST_F(RenderCommandTest, BadInputExitsWithTwoAndSaysWhy) {
  struct Case {
    const char* args;
    const char* message;
  };
  const Case cases[] = {
      {"render --style 177 --progress 50 old.png new.png -o o.png", "unknown style '177'"},
      {"render --style Sparkle --progress 50 old.png new.png -o o.png", "unknown style 'Sparkle'"},
      {"render --style 119 --progress 101 old.png new.png -o o.png", "bad progress value '101'"},
      {"render --style 119 --progress 5,,6 old.png new.png -o o.png", "bad progress value ''"},
      {"render --style 119 old.png new.png -o o.png", "--progress is required"},
      {"render --style 119 --progress 50 old.png -o o.png", "expected two pictures"},
      {"render --style 119 --progress 50 old.png new.png", "-o OUT.png or --frames DIR"},
      {"render --style 119 --progress 50 --seed x old.png new.png -o o.png", "bad seed 'x'"},
      {"render --style 119 --progress 50 missing.png new.png -o o.png", "cannot read missing.png"},
      {"render --style 119 --progress 50 old.png err.txt -o o.png", "cannot read err.txt"},
      {"render --style 119 --progress 50 old.png new.png -o no/such/o.png", "no/such/o.png"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run(c.args), 2) << c.args;
    EXPECT_NE(errors.find(c.message), std::string::npos) << c.args << "\n" << errors;
  }
}

TEST_F(RenderCommandTest, StylesListsEveryStyle) {
  ASSERT_EQ(Run("styles > styles.txt"), 0);
  std::ifstream in(dir + "/styles.txt");
  std::string line;
  int count = 0;
  std::string last;
  while (std::getline(in, line)) {
    ++count;
    if (count == 119) {
      EXPECT_EQ(line, "119\tFade");
    }
    last = line;
  }
  EXPECT_EQ(count, 176);
  EXPECT_EQ(last, "176\tSlide out from top");
}

// The contact sheet: 16 cells across of 96 x 64, one per style, each labelled top left. At 100
// every cell is the new picture, so the cells differ only in their labels; at 0 every cell is
// the old picture.
TEST_F(RenderCommandTest, SheetShowsEveryStyleInALabelledCell) {
  const auto cell = [](const raster::Bitmap& sheet, int index, bool withLabel) {
    std::vector<raster::Pixel> pixels;
    const int left = (index % 16) * 96;
    const int top = (index / 16) * 64;
    for (int y = 0; y < 64; ++y) {
      for (int x = 0; x < 96; ++x) {
        if (withLabel || x >= 30 || y >= 14) pixels.push_back(sheet.pixel(left + x, top + y));
      }
    }
    return pixels;
  };
  for (const char* progress : {"0", "100"}) {
    ASSERT_EQ(Run(std::string("render --sheet sheet.png --progress ") + progress), 0) << errors;
    const raster::Bitmap sheet = Read("sheet.png");
    ASSERT_EQ(sheet.size(), (raster::Size{16 * 96, 11 * 64}));
    for (int i = 1; i < 176; ++i) {
      ASSERT_EQ(cell(sheet, i, false), cell(sheet, 0, false)) << "style " << i + 1;
    }
    EXPECT_NE(cell(sheet, 1, true), cell(sheet, 2, true));
  }
  ASSERT_EQ(Run("render --sheet sheet.png"), 0) << errors;
  const raster::Bitmap middle = Read("sheet.png");
  EXPECT_NE(cell(middle, 0, false), cell(middle, 118, false));

  EXPECT_EQ(Run("render --sheet s.png --style 3"), 2);
  EXPECT_EQ(Run("render --sheet s.png --progress 10,20"), 2);
  EXPECT_EQ(Run("render --sheet s.png old.png new.png"), 2);
}

}  // namespace
}  // namespace pavona
