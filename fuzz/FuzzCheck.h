// SPDX-License-Identifier: GPL-3.0-or-later
// Shared by the fuzz targets: a failed property aborts with its reason, so
// that libFuzzer keeps the input and the replay program fails its test.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

[[noreturn]] inline void Fail(const char* What, const std::string& Detail) {
  std::fprintf(stderr, "fuzz property failed: %s\n", What);
  if (!Detail.empty()) std::fprintf(stderr, "  %s\n", Detail.c_str());
  std::abort();
}

inline void Require(bool Condition, const char* What) {
  if (!Condition) Fail(What, std::string());
}

// Detail is called only on failure: it may build long texts.
template <typename DetailText>
void Require(bool Condition, const char* What, DetailText&& Detail) {
  if (!Condition) Fail(What, Detail());
}

// Takes fixed-size values from the front of the fuzz input; past the end it
// yields zeros, so every input is usable.
class ByteReader {
 public:
  ByteReader(const std::uint8_t* Data, std::size_t Size) : FData(Data), FSize(Size) {}

  std::uint8_t Byte() { return FPos < FSize ? FData[FPos++] : 0; }

  template <typename T>
  T Raw() {
    T value{};
    unsigned char* out = reinterpret_cast<unsigned char*>(&value);
    for (std::size_t k = 0; k < sizeof(T); ++k) out[k] = Byte();
    return value;
  }

  std::string Rest() {
    std::string text(reinterpret_cast<const char*>(FData) + FPos, FSize - FPos);
    FPos = FSize;
    return text;
  }

  bool Empty() const { return FPos >= FSize; }

 private:
  const std::uint8_t* FData;
  std::size_t FSize;
  std::size_t FPos = 0;
};

// Prints bytes safely for a failure report.
inline std::string Printable(const std::string& Text) {
  std::string out;
  for (unsigned char c : Text) {
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\x%02X", c);
      out += buffer;
    }
  }
  return out;
}
