// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

#include "ripple/JpegDecoder.h"

namespace {

std::vector<std::uint8_t> Banner() {
  return std::vector<std::uint8_t>(BannerJpegData(), BannerJpegData() + BannerJpegSize());
}

TEST(JpegDecoder, BannerDecodesTo375By237In24BitColour) {
  const TRgbImage Image = DecodeJpeg(BannerJpegData(), BannerJpegSize());
  EXPECT_EQ(Image.Width, 375);
  EXPECT_EQ(Image.Height, 237);
  ASSERT_EQ(Image.Pixels.size(), 375u * 237u * 3u);
  // Pixels as another decoder (ImageMagick) reads them, in R, G, B.
  struct TRow {
    int x, y;
    std::uint8_t Rgb[3];
  } Rows[] = {{0, 0, {17, 53, 111}},
              {374, 236, {11, 43, 84}},
              {187, 118, {41, 96, 135}},
              {300, 80, {255, 236, 183}},
              {50, 200, {16, 65, 98}}};
  for (const TRow& Row : Rows) {
    SCOPED_TRACE(std::to_string(Row.x) + "," + std::to_string(Row.y));
    const std::uint8_t* P = Image.Pixels.data() + (Row.y * 375 + Row.x) * 3;
    EXPECT_EQ(std::vector<std::uint8_t>(P, P + 3), std::vector<std::uint8_t>(Row.Rgb, Row.Rgb + 3));
  }
}

TEST(JpegDecoder, BannerIsABaselineFileWithThreeEightBitComponents) {
  const std::vector<std::uint8_t> File = Banner();
  ASSERT_GE(File.size(), 4u);
  EXPECT_EQ(File[0], 0xFF);
  EXPECT_EQ(File[1], 0xD8);
  // Walk the marker segments up to the frame header.
  std::size_t At = 2;
  int FrameMarker = 0;
  while (At + 4 <= File.size() && File[At] == 0xFF) {
    const int Marker = File[At + 1];
    const std::size_t Length = File[At + 2] << 8 | File[At + 3];
    if (Marker >= 0xC0 && Marker <= 0xCF && Marker != 0xC4 && Marker != 0xC8 && Marker != 0xCC) {
      FrameMarker = Marker;
      ASSERT_LE(At + 10, File.size());
      EXPECT_EQ(File[At + 4], 8);                        // bits per sample
      EXPECT_EQ(File[At + 5] << 8 | File[At + 6], 237);  // lines
      EXPECT_EQ(File[At + 7] << 8 | File[At + 8], 375);  // samples per line
      EXPECT_EQ(File[At + 9], 3);                        // components
      break;
    }
    At += 2 + Length;
  }
  EXPECT_EQ(FrameMarker, 0xC0);  // SOF0: baseline DCT
}

TEST(JpegDecoder, DamagedDataIsAnErrorNotACrash) {
  const std::vector<std::uint8_t> Good = Banner();
  auto Truncated = [&](std::size_t Size) { return std::vector<std::uint8_t>(Good.begin(), Good.begin() + Size); };
  std::vector<std::uint8_t> ZeroWidth = Good;
  // Samples per line of the frame header set to 0.
  for (std::size_t i = 2; i + 9 < ZeroWidth.size(); ++i)
    if (ZeroWidth[i] == 0xFF && ZeroWidth[i + 1] == 0xC0) {
      ZeroWidth[i + 7] = 0;
      ZeroWidth[i + 8] = 0;
      break;
    }
  std::vector<std::uint8_t> Garbage(4000);
  for (std::size_t i = 0; i < Garbage.size(); ++i) Garbage[i] = static_cast<std::uint8_t>(i * 37 + 11);
  const std::vector<std::uint8_t> Png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13};
  std::vector<std::uint8_t> EndTooEarly = Truncated(Good.size() / 2);
  EndTooEarly.push_back(0xFF);
  EndTooEarly.push_back(0xD9);

  struct TRow {
    const char* Name;
    std::vector<std::uint8_t> Data;
  } Rows[] = {
      {"empty", {}},
      {"start marker only", Truncated(2)},
      {"header only", Truncated(600)},
      {"cut in the middle of the picture", Truncated(Good.size() / 2)},
      {"end marker in the middle of the picture", EndTooEarly},
      {"zero width", ZeroWidth},
      {"not a JPEG", Png},
      {"garbage", Garbage},
  };
  for (const TRow& Row : Rows) {
    SCOPED_TRACE(Row.Name);
    EXPECT_THROW(DecodeJpeg(Row.Data.data(), Row.Data.size()), TJpegError);
  }
}

TEST(JpegDecoder, ErrorCarriesLibjpegsMessage) {
  const std::uint8_t NotJpeg[] = {'h', 'e', 'l', 'l', 'o'};
  try {
    DecodeJpeg(NotJpeg, sizeof NotJpeg);
    FAIL() << "no error";
  } catch (const TJpegError& Error) {
    EXPECT_STREQ(Error.what(), "Not a JPEG file: starts with 0x68 0x65");
  }
}

}  // namespace
