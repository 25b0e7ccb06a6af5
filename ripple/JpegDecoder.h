// SPDX-License-Identifier: GPL-3.0-or-later
// JPEG decoding through libjpeg into 24-bit colour. Plain C++17, no toolkit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

// A decoding failure; what() is libjpeg's own message.
class TJpegError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TRgbImage {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Pixels;  // rows of Width × 3 bytes (R, G, B), no padding, row 0 first
};

// Decodes a whole JPEG image held in memory. Throws TJpegError on any fault in
// the data, warnings included (a truncated or damaged file is refused rather
// than shown half grey), and for images of more than 2^28 bytes of pixels.
TRgbImage DecodeJpeg(const std::uint8_t* Data, std::size_t Size);

// The banner picture compiled into the program (a baseline JPEG, 375 × 237).
const std::uint8_t* BannerJpegData();
std::size_t BannerJpegSize();
