// The PNG writer: what it writes reads back exactly; a file it cannot create is an error.
#include <gtest/gtest.h>

#include <string>

#include "pictures/picture.h"
#include "pictures/png_writer.h"

namespace pavona::pictures {
namespace {

TEST(PngWriterTest, WritesPixelsThatReadBackExactly) {
  raster::Bitmap bitmap(3, 2);
  const raster::Pixel colors[] = {0x00FF0000, 0x0000FF00, 0x000000FF,
                                  0xAA123456, 0x00000000, 0x00FFFFFF};
  for (int i = 0; i < 6; ++i) bitmap.set_pixel(i % 3, i / 3, colors[i]);
  const std::string path = ::testing::TempDir() + "/pavona_png_writer_test.png";
  WritePngFile(path, bitmap);

  TPicture picture;
  picture.LoadFromFile(path);
  ASSERT_EQ(picture.Width(), 3);
  ASSERT_EQ(picture.Height(), 2);
  raster::Bitmap back(3, 2);
  picture.Graphic()->Draw(back, raster::Point{0, 0});
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(back.pixel(i % 3, i / 3) & 0x00FFFFFF, colors[i] & 0x00FFFFFF) << i;
  }
}

TEST(PngWriterTest, ReportsWhatCannotBeWritten) {
  raster::Bitmap bitmap(2, 2);
  EXPECT_THROW(WritePngFile(::testing::TempDir() + "/no/such/folder/x.png", bitmap), EPngWriteError);
  EXPECT_THROW(WritePngFile(::testing::TempDir() + "/empty.png", raster::Bitmap()), EPngWriteError);
}

}  // namespace
}  // namespace pavona::pictures
