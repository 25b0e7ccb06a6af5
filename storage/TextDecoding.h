// SPDX-License-Identifier: GPL-3.0-or-later
// Text a person saved in any editor or spreadsheet, decoded to UTF-8: the
// byte-order mark, UTF-8, UTF-16 and Windows-1256, the code page Excel uses
// for CSV on a Persian Windows. Shared by the loader of info.ini and the batch
// program's CSV reader; each decoder can be fed a file block by block.
#pragma once

#include <cstddef>
#include <string>

enum class TextEncoding { Utf8, Utf8WithMark, Utf16LE, Utf16BE, Windows1256 };

struct MarkedEncoding {
  TextEncoding Encoding;  // Utf8 when there is none
  std::size_t Length;     // bytes of the mark; 0 when there is none
};

// The mark that Data starts with. Data must hold at least three bytes unless
// it is the whole text.
MarkedEncoding FindByteOrderMark(const unsigned char* Data, std::size_t Size);

// What a decoder does with bytes it cannot read.
enum class Malformed {
  Replace,  // each maximal ill-formed part becomes one U+FFFD; U+0000 is decoded as any other
  Stop,     // decoding stops before it, and before U+0000, which no text file holds
};

enum class DecodeStop {
  None,       // every byte was decoded
  NeedMore,   // the end of Data cuts a sequence; feed it again with the next block
  IllFormed,  // only with Malformed::Stop
  Nul,        // only with Malformed::Stop
};

struct Decoded {
  std::size_t Used;  // bytes of Data decoded and appended
  DecodeStop Stop;
};

// AtEnd: Data ends the text, so a cut sequence is ill-formed.
Decoded DecodeUtf8(const unsigned char* Data, std::size_t Size, bool AtEnd, Malformed Mode, std::string& Out);
Decoded DecodeUtf16(const unsigned char* Data, std::size_t Size, bool BigEndian, bool AtEnd, Malformed Mode,
                    std::string& Out);

// Windows-1256 through the C library's iconv. Every byte of the code page is
// a character, so only U+0000 stops it.
class Windows1256Decoder {
 public:
  Windows1256Decoder();  // throws std::runtime_error when the C library lacks the code page
  ~Windows1256Decoder();
  Windows1256Decoder(const Windows1256Decoder&) = delete;
  Windows1256Decoder& operator=(const Windows1256Decoder&) = delete;

  Decoded Decode(const unsigned char* Data, std::size_t Size, std::string& Out);

 private:
  void* FConverter;  // iconv_t
};
