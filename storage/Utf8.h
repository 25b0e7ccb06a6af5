// SPDX-License-Identifier: GPL-3.0-or-later
// UTF-8 in both directions, for the readers of files a person may have saved
// in any editor or spreadsheet (info.ini, the batch program's CSV).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Appends one code point (at most U+10FFFF, not a surrogate).
inline void AppendUtf8(std::string& Out, std::uint32_t Code) {
  if (Code < 0x80) {
    Out += static_cast<char>(Code);
  } else if (Code < 0x800) {
    Out += static_cast<char>(0xC0 | (Code >> 6));
    Out += static_cast<char>(0x80 | (Code & 0x3F));
  } else if (Code < 0x10000) {
    Out += static_cast<char>(0xE0 | (Code >> 12));
    Out += static_cast<char>(0x80 | ((Code >> 6) & 0x3F));
    Out += static_cast<char>(0x80 | (Code & 0x3F));
  } else {
    Out += static_cast<char>(0xF0 | (Code >> 18));
    Out += static_cast<char>(0x80 | ((Code >> 12) & 0x3F));
    Out += static_cast<char>(0x80 | ((Code >> 6) & 0x3F));
    Out += static_cast<char>(0x80 | (Code & 0x3F));
  }
}

struct Utf8Scan {
  std::size_t Length;  // the lead byte and the well-formed continuation bytes after it (at least 1)
  bool Complete;       // they form a whole well-formed sequence
};

// The sequence that starts at Data (Size > 0). Overlong forms, surrogates and
// code points above U+10FFFF are ill-formed from the byte that shows it; a
// sequence that Size cuts short is incomplete with Length reaching Size.
inline Utf8Scan ScanUtf8(const unsigned char* Data, std::size_t Size) {
  const unsigned char lead = Data[0];
  if (lead < 0x80) return {1, true};
  // Length and allowed range of the first continuation byte.
  std::size_t need = 0;
  unsigned char low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    need = 1;
  } else if (lead == 0xE0) {
    need = 2;
    low = 0xA0;
  } else if (lead == 0xED) {
    need = 2;
    high = 0x9F;
  } else if (lead >= 0xE1 && lead <= 0xEF) {
    need = 2;
  } else if (lead == 0xF0) {
    need = 3;
    low = 0x90;
  } else if (lead == 0xF4) {
    need = 3;
    high = 0x8F;
  } else if (lead >= 0xF1 && lead <= 0xF3) {
    need = 3;
  } else {
    return {1, false};
  }
  std::size_t got = 0;
  while (got < need && 1 + got < Size) {
    const unsigned char next = Data[1 + got];
    if (next < (got == 0 ? low : 0x80) || next > (got == 0 ? high : 0xBF)) break;
    ++got;
  }
  return {1 + got, got == need};
}
