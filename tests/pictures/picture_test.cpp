#include "pictures/picture.h"

#include <gtest/gtest.h>
#include <jerror.h>
#include <jpeglib.h>
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/stream.h"
#include "pictures/bitmap_image.h"
#include "pictures/icon_image.h"
#include "pictures/jpeg_image.h"
#include "pictures/metafile.h"
#include "pictures/png_image.h"
#include "pictures/tiff_image.h"
#include "pictures/picture_formats.h"
#include "tests/pictures/picture_fixtures.h"

namespace pavona::pictures::testing {
namespace {

using raster::MakePixel;
using raster::Pixel;

TEST(FileFormats, RegistersTheBuiltInFormatsInOrder) {
  std::vector<std::string> extensions;
  std::vector<std::string> descriptions;
  for (const TFileFormat& f : FileFormats().Formats()) {
    extensions.push_back(f.Extension);
    descriptions.push_back(f.Description);
    EXPECT_EQ(f.DescResID, 0);
  }
  // Other tests may register more behind these.
  extensions.resize(9);
  descriptions.resize(9);
  EXPECT_EQ(extensions, (std::vector<std::string>{"wmf", "emf", "ico", "tiff", "tif", "bmp", "png",
                                                  "jpeg", "jpg"}));
  EXPECT_EQ(descriptions, (std::vector<std::string>{"Metafiles", "Enhanced Metafiles", "Icons",
                                                    "TIFF Images", "TIFF Images",
                                                    "Bitmaps", "Portable Network Graphics",
                                                    "JPEG Image File", "JPEG Image File"}));
}

template <class Graphic>
bool Makes(const std::string& extension) {
  const TGraphicClass graphicClass = FileFormats().FindExt(extension);
  return graphicClass != nullptr && dynamic_cast<Graphic*>(graphicClass().get()) != nullptr;
}

TEST(FileFormats, FindsExtensionsInAnyCaseAndNothingElse) {
  EXPECT_TRUE(Makes<TMetafile>("WMF"));
  EXPECT_TRUE(Makes<TMetafile>("emf"));
  EXPECT_TRUE(Makes<TIcon>("ico"));
  EXPECT_TRUE(Makes<TWICImage>("TIF"));
  EXPECT_TRUE(Makes<TWICImage>("Tiff"));
  EXPECT_TRUE(Makes<TBitmap>("bmp"));
  EXPECT_TRUE(Makes<TPngImage>("png"));
  EXPECT_TRUE(Makes<TJPEGImage>("JPG"));
  EXPECT_TRUE(Makes<TJPEGImage>("jpeg"));
  for (const char* unknown : {"", "gif", "jpe", "jfif", "wmz", "emz", "bmp ", ".bmp"}) {
    EXPECT_EQ(FileFormats().FindExt(unknown), nullptr) << unknown;
  }
}

TEST(FileFormats, TheNewestRegistrationWins) {
  TFileFormatsList list;
  list.Add("Ext1", "first", 0,
           [] { return std::unique_ptr<TGraphic>(std::make_unique<TBitmap>()); });
  list.Add("ext1", "second", 0,
           [] { return std::unique_ptr<TGraphic>(std::make_unique<TIcon>()); });
  const TGraphicClass found = list.FindExt("EXT1");
  ASSERT_NE(found, nullptr);
  EXPECT_NE(dynamic_cast<TIcon*>(found().get()), nullptr);
  EXPECT_EQ(list.Formats().back().Extension, "ext1");
}

Bytes SmallBmp(Pixel colour) {
  ByteWriter f;
  f.U8('B').U8('M').U32(58).U32(0).U32(54);
  f.U32(40).U32(1).U32(1).U16(1).U16(24).U32(0).U32(4).U32(0).U32(0).U32(0).U32(0);
  return f.U8(colour & 0xFF).U8((colour >> 8) & 0xFF).U8((colour >> 16) & 0xFF).U8(0).bytes;
}

class PictureFiles : public ::testing::Test {
 protected:
  ScratchFolder folder;
  TPicture picture;
  int changes = 0;

  void SetUp() override {
    picture.SetOnChange([this] { ++changes; });
  }
};

TEST_F(PictureFiles, LoadsByExtensionAndFiresOnChange) {
  const Bytes jpeg = EncodeJpeg(3, 2, 3, std::vector<std::uint8_t>(18, 100));
  struct Case {
    const char* name;
    Bytes file;
    int width;
    int height;
  };
  const std::vector<Case> cases = {
      {"slide.JPG", jpeg, 3, 2},
      {"slide.jpeg", jpeg, 3, 2},
      {"slide.Bmp", SmallBmp(MakePixel(1, 2, 3)), 1, 1},
      {"folder.png/slide.PNG",
       EncodePng(
           {.width = 4, .height = 1, .colorType = PNG_COLOR_TYPE_GRAY, .samples = {1, 2, 3, 4}}),
       4, 1},
      {"slide.tif", EncodeTiff(2, 5, 1, std::vector<std::uint8_t>(10, 7), 1), 2, 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::create_directories(std::filesystem::path(folder.Path(c.name)).parent_path());
    const int before = changes;
    picture.LoadFromFile(folder.Write(c.name, c.file));
    ASSERT_NE(picture.Graphic(), nullptr);
    EXPECT_EQ(picture.Width(), c.width);
    EXPECT_EQ(picture.Height(), c.height);
    EXPECT_EQ(changes, before + 1);
  }
}

TEST_F(PictureFiles, ForwardsTheDecodersProgress) {
  std::vector<int> reported;
  picture.SetOnProgress([&](int percent) { reported.push_back(percent); });
  picture.LoadFromFile(
      folder.Write("tall.jpg", EncodeJpeg(8, 40, 1, std::vector<std::uint8_t>(320, 9))));
  ASSERT_FALSE(reported.empty());
  EXPECT_TRUE(std::is_sorted(reported.begin(), reported.end()));
  EXPECT_EQ(std::adjacent_find(reported.begin(), reported.end()), reported.end());
  EXPECT_EQ(reported.back(), 100);
}

TEST_F(PictureFiles, FailedLoadKeepsThePreviousGraphicSilently) {
  picture.LoadFromFile(folder.Write("first.bmp", SmallBmp(MakePixel(1, 2, 3))));
  const TGraphic* first = picture.Graphic();
  ASSERT_EQ(changes, 1);

  const Bytes jpeg = EncodeJpeg(3, 2, 3, std::vector<std::uint8_t>(18, 100));
  const std::string missing = folder.Path("missing.png");
  struct Case {
    std::string name;
    Bytes file;
    std::string error;
  };
  const std::vector<Case> cases = {
      {"slide.jpe", jpeg, "Unknown picture file extension (.jpe)"},
      {"slide.GIF", jpeg, "Unknown picture file extension (.GIF)"},
      {"slide", jpeg, "Unknown picture file extension (.)"},
      {"slide.", jpeg, "Unknown picture file extension (.)"},
      {"slide.png", jpeg,
       "This \"Portable Network Graphics\" image is not valid because it contains an invalid "
       "header."},
      {"slide.jpg", Bytes{'n', 'o', 'p', 'e'}, "JPEG error #" + std::to_string(JERR_NO_SOI)},
      {"slide.bmp", Bytes{'B', 'M', 0, 0}, "Stream read error"},
      {"slide.ico", Bytes{0, 0, 2, 0, 1, 0}, "Icon image is not valid"},
      {"slide.tiff", Bytes{'I', 'I'}, "TIFF image is not valid"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(MessageOf([&] { picture.LoadFromFile(folder.Write(c.name, c.file)); }), c.error);
    EXPECT_EQ(picture.Graphic(), first);
  }
  EXPECT_THROW(picture.LoadFromFile(missing), platform::EStreamError);
  EXPECT_EQ(MessageOf([&] { picture.LoadFromFile(missing); }),
            "Cannot open file \"" + missing + "\". No such file or directory");
  EXPECT_EQ(picture.Graphic(), first);
  EXPECT_EQ(changes, 1);
}

TEST_F(PictureFiles, ErrorClassesFollowTheFailure) {
  const std::string jpe = folder.Write("a.jpe", {});
  const std::string jpg = folder.Write("a.jpg", {});
  const std::string png = folder.Write("a.png", {});
  EXPECT_THROW(picture.LoadFromFile(jpe), EInvalidGraphic);
  EXPECT_THROW(picture.LoadFromFile(jpg), EJPEG);
  EXPECT_THROW(picture.LoadFromFile(jpg), EInvalidGraphic);
  EXPECT_THROW(picture.LoadFromFile(png), EPngError);
}

TEST_F(PictureFiles, AssignCopiesAndSetGraphicReplaces) {
  picture.LoadFromFile(folder.Write("a.bmp", SmallBmp(MakePixel(9, 8, 7))));
  TPicture copy;
  int copyChanges = 0;
  copy.SetOnChange([&] { ++copyChanges; });
  copy.Assign(picture);
  ASSERT_NE(copy.Graphic(), nullptr);
  EXPECT_NE(copy.Graphic(), picture.Graphic());
  EXPECT_EQ(copyChanges, 1);
  raster::Bitmap canvas(1, 1);
  copy.Graphic()->Draw(canvas, raster::Point{0, 0});
  EXPECT_EQ(canvas.pixel(0, 0), MakePixel(9, 8, 7));

  picture.SetGraphic(nullptr);
  EXPECT_EQ(picture.Graphic(), nullptr);
  EXPECT_EQ(picture.Width(), 0);
  EXPECT_EQ(picture.Height(), 0);
  EXPECT_EQ(changes, 2);
  copy.Assign(picture);
  EXPECT_EQ(copy.Graphic(), nullptr);
  EXPECT_EQ(copyChanges, 2);
}

}  // namespace
}  // namespace pavona::pictures::testing
