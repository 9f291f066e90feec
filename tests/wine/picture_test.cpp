// The simulator's pictures: what the codec writes decodes to the pixels that were written.
#include <gtest/gtest.h>

#include <windows.h>

#include "simulator/png_codec.h"
#include "simulator/screen.h"

namespace {

std::string TempFile(const char* name) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + name;
}

TEST(Pictures, PngFilesDecodeToThePixelsWritten) {
  const int width = 37, height = 23;  // rows of a length that needs no padding are not the only case
  std::vector<uint8_t> rgb;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) rgb.insert(rgb.end(), {uint8_t(x * 7), uint8_t(y * 11), uint8_t(x * y)});
  const std::string path = TempFile("picture_test.png");
  ASSERT_TRUE(WritePng(path, width, height, rgb));
  int readWidth = 0, readHeight = 0;
  std::vector<uint8_t> decoded;
  ASSERT_TRUE(ReadPng(path, readWidth, readHeight, decoded));
  EXPECT_EQ(readWidth, width);
  EXPECT_EQ(readHeight, height);
  EXPECT_EQ(decoded, rgb);
  EXPECT_FALSE(WritePng(TempFile("no such folder\\picture.png"), width, height, rgb));
  EXPECT_FALSE(ReadPng(TempFile("no such folder\\picture.png"), readWidth, readHeight, decoded));
  DeleteFileA(path.c_str());
}

TEST(Pictures, ScaledCaptureShowsEachScreenPixelAsASquare) {
  const screen_capture capture = CaptureScreen({0, 0, 20, 10});
  const std::string path = TempFile("capture_test.png");
  ASSERT_TRUE(SaveCapture(capture, path, 4));
  int width = 0, height = 0;
  std::vector<uint8_t> decoded;
  ASSERT_TRUE(ReadPng(path, width, height, decoded));
  ASSERT_EQ(width, 80);
  ASSERT_EQ(height, 40);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = &decoded[(size_t(y) * width + x) * 3];
      ASSERT_EQ(RGB(p[0], p[1], p[2]), capture.At(x / 4, y / 4)) << x << "," << y;
    }
  DeleteFileA(path.c_str());
}

}  // namespace
