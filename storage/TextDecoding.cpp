// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/TextDecoding.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iconv.h>
#include <stdexcept>

#include "storage/Utf8.h"

namespace {

const char Replacement[] = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

}  // namespace

MarkedEncoding FindByteOrderMark(const unsigned char* Data, std::size_t Size) {
  if (Size >= 3 && Data[0] == 0xEF && Data[1] == 0xBB && Data[2] == 0xBF) return {TextEncoding::Utf8WithMark, 3};
  if (Size >= 2 && Data[0] == 0xFF && Data[1] == 0xFE) return {TextEncoding::Utf16LE, 2};
  if (Size >= 2 && Data[0] == 0xFE && Data[1] == 0xFF) return {TextEncoding::Utf16BE, 2};
  return {TextEncoding::Utf8, 0};
}

Decoded DecodeUtf8(const unsigned char* Data, std::size_t Size, bool AtEnd, Malformed Mode, std::string& Out) {
  std::size_t i = 0;
  std::size_t copied = 0;  // well-formed text is appended in runs
  const auto flush = [&] { Out.append(reinterpret_cast<const char*>(Data) + copied, i - copied); };
  while (i < Size) {
    const unsigned char lead = Data[i];
    if (lead < 0x80) {
      if (lead == 0 && Mode == Malformed::Stop) {
        flush();
        return {i, DecodeStop::Nul};
      }
      ++i;
      continue;
    }
    const Utf8Scan sequence = ScanUtf8(Data + i, Size - i);
    if (sequence.Complete) {
      i += sequence.Length;
      continue;
    }
    if (i + sequence.Length == Size && !AtEnd) {
      flush();
      return {i, DecodeStop::NeedMore};
    }
    flush();
    if (Mode == Malformed::Stop) return {i, DecodeStop::IllFormed};
    Out += Replacement;
    i += sequence.Length;
    copied = i;
  }
  flush();
  return {Size, DecodeStop::None};
}

Decoded DecodeUtf16(const unsigned char* Data, std::size_t Size, bool BigEndian, bool AtEnd, Malformed Mode,
                    std::string& Out) {
  const std::size_t units = Size / 2;
  const auto unit = [&](std::size_t k) -> std::uint32_t {
    const std::uint32_t first = Data[2 * k], second = Data[2 * k + 1];
    return BigEndian ? (first << 8 | second) : (second << 8 | first);
  };
  // A unit that cannot be read: replaced, or the end of decoding.
  const auto illFormed = [&]() -> bool {
    if (Mode == Malformed::Stop) return true;
    Out += Replacement;
    return false;
  };
  std::size_t k = 0;
  while (k < units) {
    const std::uint32_t code = unit(k);
    if (code == 0 && Mode == Malformed::Stop) return {2 * k, DecodeStop::Nul};
    if (code >= 0xD800 && code <= 0xDBFF) {
      if (k + 1 >= units && !AtEnd) return {2 * k, DecodeStop::NeedMore};
      if (k + 1 < units) {
        const std::uint32_t low = unit(k + 1);
        if (low >= 0xDC00 && low <= 0xDFFF) {
          AppendUtf8(Out, 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00));
          k += 2;
          continue;
        }
      }
      if (illFormed()) return {2 * k, DecodeStop::IllFormed};
      ++k;
      continue;
    }
    if (code >= 0xDC00 && code <= 0xDFFF) {
      if (illFormed()) return {2 * k, DecodeStop::IllFormed};
      ++k;
      continue;
    }
    AppendUtf8(Out, code);
    ++k;
  }
  if (Size % 2 != 0) {
    if (!AtEnd) return {2 * k, DecodeStop::NeedMore};
    if (illFormed()) return {2 * k, DecodeStop::IllFormed};
    return {Size, DecodeStop::None};
  }
  return {2 * k, DecodeStop::None};
}

Windows1256Decoder::Windows1256Decoder() {
  const iconv_t converter = ::iconv_open("UTF-8", "CP1256");
  if (converter == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv cannot decode CP1256");
  FConverter = converter;
}

Windows1256Decoder::~Windows1256Decoder() { ::iconv_close(static_cast<iconv_t>(FConverter)); }

Decoded Windows1256Decoder::Decode(const unsigned char* Data, std::size_t Size, std::string& Out) {
  const void* nul = std::memchr(Data, 0, Size);
  const std::size_t size = nul ? static_cast<std::size_t>(static_cast<const unsigned char*>(nul) - Data) : Size;
  const std::size_t start = Out.size();
  // Every character of the code page is in the Basic Multilingual Plane:
  // at most three bytes of UTF-8.
  Out.resize(start + 3 * size);
  char* in = const_cast<char*>(reinterpret_cast<const char*>(Data));
  std::size_t inLeft = size;
  char* out = &Out[start];
  std::size_t outLeft = 3 * size;
  while (inLeft > 0) {
    if (::iconv(static_cast<iconv_t>(FConverter), &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1))
      continue;
    // Not in glibc's table, which defines all 256 bytes; kept readable all the same.
    const std::size_t at = static_cast<std::size_t>(out - Out.data());
    Out.resize(at);
    Out += Replacement;
    Out.resize(Out.size() + 3 * inLeft);
    out = &Out[at + 3];
    outLeft = 3 * inLeft;
    ++in;
    --inLeft;
  }
  Out.resize(static_cast<std::size_t>(out - Out.data()));
  return {size, nul ? DecodeStop::Nul : DecodeStop::None};
}
