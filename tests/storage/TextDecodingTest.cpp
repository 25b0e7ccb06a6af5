// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <string>

#include "storage/TextDecoding.h"

using namespace std::string_literals;

namespace {

const auto* Bytes(const std::string& Text) { return reinterpret_cast<const unsigned char*>(Text.data()); }

struct Result {
  std::string Text;
  std::size_t Used;
  DecodeStop Stop;
};

Result Utf8(const std::string& In, bool AtEnd, Malformed Mode) {
  Result r;
  const Decoded d = DecodeUtf8(Bytes(In), In.size(), AtEnd, Mode, r.Text);
  r.Used = d.Used;
  r.Stop = d.Stop;
  return r;
}

Result Utf16(const std::string& In, bool AtEnd, Malformed Mode) {
  Result r;
  const Decoded d = DecodeUtf16(Bytes(In), In.size(), false, AtEnd, Mode, r.Text);
  r.Used = d.Used;
  r.Stop = d.Stop;
  return r;
}

const std::string Fffd = "\xEF\xBF\xBD";

TEST(TextDecoding, Utf8StopsWhereAReaderMustAndReplacesWhereALoaderMay) {
  struct Row {
    const char* Name;
    std::string In;
    bool AtEnd;
    Malformed Mode;
    std::string Text;
    std::size_t Used;
    DecodeStop Stop;
  } rows[] = {
      {"Persian text", "نام,1", true, Malformed::Stop, "نام,1", 8, DecodeStop::None},
      {"a sequence cut by the block waits", "a\xD9", false, Malformed::Stop, "a", 1, DecodeStop::NeedMore},
      {"a sequence cut by the end is ill-formed", "a\xD9", true, Malformed::Stop, "a", 1, DecodeStop::IllFormed},
      {"Windows-1256 bytes", "a\xE1\xC7", true, Malformed::Stop, "a", 1, DecodeStop::IllFormed},
      {"NUL stops a reader", "a\0b"s, true, Malformed::Stop, "a", 1, DecodeStop::Nul},
      {"NUL passes the loader", "a\0b"s, true, Malformed::Replace, "a\0b"s, 3, DecodeStop::None},
      {"one U+FFFD per ill-formed part", "a\xE0\x80z\xF0\x9F\x98", true, Malformed::Replace,
       "a" + Fffd + Fffd + "z" + Fffd, 7, DecodeStop::None},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    const Result r = Utf8(row.In, row.AtEnd, row.Mode);
    EXPECT_EQ(r.Text, row.Text);
    EXPECT_EQ(r.Used, row.Used);
    EXPECT_EQ(r.Stop, row.Stop);
  }
}

TEST(TextDecoding, Utf16SurrogatesOddBytesAndNul) {
  struct Row {
    const char* Name;
    std::string In;  // little-endian units
    bool AtEnd;
    Malformed Mode;
    std::string Text;
    DecodeStop Stop;
  } rows[] = {
      {"a pair", "\x3D\xD8\x00\xDE"s, true, Malformed::Stop, "\xF0\x9F\x98\x80", DecodeStop::None},
      {"a pair cut by the block", "a\0\x3D\xD8"s, false, Malformed::Stop, "a", DecodeStop::NeedMore},
      {"a lone high surrogate",
       "\x3D\xD8"
       "a\0"s,
       true, Malformed::Stop, "", DecodeStop::IllFormed},
      {"a lone surrogate replaced",
       "\x3D\xD8"
       "a\0"s,
       true, Malformed::Replace, Fffd + "a", DecodeStop::None},
      {"an odd last byte replaced", "a\0b"s, true, Malformed::Replace, "a" + Fffd, DecodeStop::None},
      {"an odd last byte waits", "a\0b"s, false, Malformed::Stop, "a", DecodeStop::NeedMore},
      {"NUL stops a reader", "a\0\0\0"s, true, Malformed::Stop, "a", DecodeStop::Nul},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    const Result r = Utf16(row.In, row.AtEnd, row.Mode);
    EXPECT_EQ(r.Text, row.Text);
    EXPECT_EQ(r.Stop, row.Stop);
  }
}

TEST(TextDecoding, Windows1256AsExcelSavesPersian) {
  Windows1256Decoder decoder;
  // Keheh 0x98, gaf 0x90, a non-joiner 0x9D and the Arabic yeh 0xED, then a
  // NUL that ends the text.
  const std::string in = "\x98\xCF \x90\xD1\xE6\xE5\x9D\xED\0x"s;
  std::string out;
  const Decoded d = decoder.Decode(Bytes(in), in.size(), out);
  EXPECT_EQ(out, "\u06A9\u062F \u06AF\u0631\u0648\u0647\u200C\u064A");
  EXPECT_EQ(d.Used, 9u);
  EXPECT_EQ(d.Stop, DecodeStop::Nul);
}

}  // namespace
