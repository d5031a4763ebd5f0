#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <vector>

#include "platform/host.h"

namespace platform::host {
namespace {

TEST(PngWriterTest, WritesTheScreenAsRgbAndReadsBack) {
  const auto file = std::filesystem::temp_directory_path() /
                    ("png_writer_test_" + std::to_string(::getpid()) + ".png");
  // 3 x 2 screen inside a pitch of 4: white, red, green / blue, black, grey.
  const uint16_t pixels[8] = {0xFFFF, 0xF800, 0x07E0, 0x1234, 0x001F, 0x0000, 0x8410, 0x4321};
  std::string error;
  ASSERT_TRUE(WritePng(file, pixels, 3, 2, 4, error)) << error;

  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, file.c_str()));
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
  std::filesystem::remove(file);
  EXPECT_EQ(image.width, 3u);
  EXPECT_EQ(image.height, 2u);
  const std::vector<uint8_t> expected = {255, 255, 255, 255, 0, 0, 0,   255, 0,
                                         0,   0,   255, 0,   0, 0, 132, 130, 132};
  EXPECT_EQ(rgb, expected);
}

TEST(PngWriterTest, ReportsAFileThatCannotBeCreated) {
  const uint16_t pixel = 0;
  std::string error;
  EXPECT_FALSE(WritePng("/nonexistent-folder/x.png", &pixel, 1, 1, 1, error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace platform::host
