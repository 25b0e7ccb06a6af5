// SPDX-License-Identifier: GPL-3.0-or-later
// The base values file on arbitrary bytes, and the save/load round trip.
//
// Load: whatever info.ini holds (marks, NULs, lone CR or LF, invalid UTF-8,
// megabytes), LoadBaseValues never fails and loads exactly when the decoded
// text up to its first NUL has exactly eight lines; well-formed text loads
// line for line, anything else as well-formed UTF-8 without breaks.
// Save: any eight texts without line breaks or NULs are written byte for
// byte, trimmed, each with CR LF, leave no temporary file, and load back
// trimmed.
//
// Input: a mode byte (in the replay, 0xFE pads the rest with its last byte to
// exactly the 16 MiB the loader reads, 0xFF to one byte more), then the file's
// bytes. The same
// bytes split at LF give the eight texts to save.
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "storage/BaseValues.h"

namespace {

constexpr std::size_t LoaderLimit = std::size_t{16} << 20;

// Only the replay pads: under libFuzzer a 16 MiB file per run slows the
// campaign a hundredfold, and the two padded seeds are all the sizes there are.
#ifdef DECREE_FUZZ_ENGINE
constexpr bool PadToLimit = false;
#else
constexpr bool PadToLimit = true;
#endif

std::string Folder;

void RemoveFolder() {
  ::unlink((Folder + "/info.ini").c_str());
  ::rmdir(Folder.c_str());
}

const std::string& ScratchFolder() {
  if (Folder.empty()) {
    // tmpfs when there is one: the save syncs, and a disk would make every run slow.
    const char* base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string name = std::string(base) + "/basevalues-fuzz-XXXXXX";
    Require(::mkdtemp(name.data()) != nullptr, "cannot make a scratch folder");
    Folder = name;
    std::atexit(RemoveFolder);
  }
  return Folder;
}

std::vector<std::string> FolderEntries() {
  std::vector<std::string> names;
  DIR* dir = ::opendir(Folder.c_str());
  Require(dir != nullptr, "scratch folder vanished");
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  ::closedir(dir);
  return names;
}

void WriteFile(const std::string& Bytes) {
  FILE* file = std::fopen((Folder + "/info.ini").c_str(), "wb");
  Require(file != nullptr, "cannot write the scratch file");
  Require(std::fwrite(Bytes.data(), 1, Bytes.size(), file) == Bytes.size(), "short scratch write");
  std::fclose(file);
}

std::string ReadFile() {
  std::string bytes;
  FILE* file = std::fopen((Folder + "/info.ini").c_str(), "rb");
  Require(file != nullptr, "the saved file is missing");
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, n);
  std::fclose(file);
  return bytes;
}

// Length of the well-formed UTF-8 sequence at Text[i], 0 when there is none:
// no overlong forms, no surrogates, nothing above U+10FFFF.
std::size_t Utf8SequenceAt(const std::string& Text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return k < Text.size() ? static_cast<unsigned char>(Text[k]) : 0u; };
  const unsigned lead = byte(i);
  const auto tail = [&](std::size_t k) { return byte(k) >= 0x80 && byte(k) <= 0xBF; };
  if (lead < 0x80) return i < Text.size() ? 1 : 0;
  if (lead >= 0xC2 && lead <= 0xDF) return tail(i + 1) ? 2 : 0;
  if (lead >= 0xE0 && lead <= 0xEF) {
    const unsigned second = byte(i + 1);
    if (lead == 0xE0 && second < 0xA0) return 0;  // overlong
    if (lead == 0xED && second > 0x9F) return 0;  // surrogate
    return tail(i + 1) && tail(i + 2) ? 3 : 0;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    const unsigned second = byte(i + 1);
    if (lead == 0xF0 && second < 0x90) return 0;  // overlong
    if (lead == 0xF4 && second > 0x8F) return 0;  // above U+10FFFF
    return tail(i + 1) && tail(i + 2) && tail(i + 3) ? 4 : 0;
  }
  return 0;
}

bool WellFormedUtf8(const std::string& Text) {
  for (std::size_t i = 0; i < Text.size();) {
    if (static_cast<unsigned char>(Text[i]) < 0x80) {  // the common case, kept quick for huge files
      ++i;
      continue;
    }
    const std::size_t length = Utf8SequenceAt(Text, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

void AppendUtf8(std::string& Out, unsigned long Code) {
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

// The file's text as the loader must see it: the mark chooses the decoding.
// Well says whether it decoded without a single ill-formed part; the text is
// exact only then, but CR, LF and NUL always are where the file has them.
struct DecodedText {
  std::string Text;
  bool Well = true;
};

DecodedText Decode(const std::string& Bytes) {
  DecodedText out;
  const auto starts = [&](const char* Mark, std::size_t Length) { return Bytes.compare(0, Length, Mark, Length) == 0; };
  if (starts("\xFF\xFE", 2) || starts("\xFE\xFF", 2)) {
    const bool big = Bytes[0] == '\xFE';
    const auto unit = [&](std::size_t k) {
      const auto first = static_cast<unsigned char>(Bytes[2 + 2 * k]);
      const auto second = static_cast<unsigned char>(Bytes[3 + 2 * k]);
      return big ? (first << 8 | second) : (second << 8 | first);
    };
    const std::size_t units = (Bytes.size() - 2) / 2;
    for (std::size_t k = 0; k < units; ++k) {
      const unsigned long code = static_cast<unsigned long>(unit(k));
      if (code >= 0xD800 && code <= 0xDBFF && k + 1 < units && unit(k + 1) >= 0xDC00 && unit(k + 1) <= 0xDFFF) {
        AppendUtf8(out.Text, 0x10000 + ((code - 0xD800) << 10) + (static_cast<unsigned long>(unit(k + 1)) - 0xDC00));
        ++k;
      } else if (code >= 0xD800 && code <= 0xDFFF) {
        out.Text += '?';  // a stand-in; only CR, LF and NUL must be exact here
        out.Well = false;
      } else {
        AppendUtf8(out.Text, code);
      }
    }
    if ((Bytes.size() - 2) % 2 != 0) {
      out.Text += '?';
      out.Well = false;
    }
    return out;
  }
  out.Text = starts("\xEF\xBB\xBF", 3) ? Bytes.substr(3) : Bytes;
  out.Well = WellFormedUtf8(out.Text);
  return out;
}

std::vector<std::string> SplitLines(const std::string& Text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t at; (at = Text.find_first_of("\r\n", start)) != std::string::npos;) {
    lines.push_back(Text.substr(start, at - start));
    start = at + (Text.compare(at, 2, "\r\n") == 0 ? 2 : 1);
  }
  if (start < Text.size()) lines.push_back(Text.substr(start));  // a final break opens no line
  return lines;
}

void CheckLoad(const std::string& Bytes) {
  WriteFile(Bytes);
  std::optional<BaseValues> loaded;
  try {
    loaded = LoadBaseValues(Folder);
  } catch (const StorageError& e) {
    Require(false, "a readable file was reported", [&] { return std::string(e.what()); });
  }
  if (Bytes.size() > LoaderLimit) {
    Require(!loaded, "a file beyond the loader's limit was loaded");
    return;
  }
  DecodedText decoded = Decode(Bytes);
  const std::size_t nul = decoded.Text.find('\0');
  if (nul != std::string::npos) decoded.Text.resize(nul);
  const std::vector<std::string> lines = SplitLines(decoded.Text);
  Require(loaded.has_value() == (lines.size() == 8), "loaded although not eight lines, or not loaded",
          [&] { return std::to_string(lines.size()) + " lines"; });
  if (!loaded) return;
  for (std::size_t k = 0; k < 8; ++k) {
    const std::string& line = (*loaded)[k];
    Require(WellFormedUtf8(line), "a loaded line is not well-formed UTF-8", [&] { return Printable(line); });
    Require(line.find_first_of(std::string("\r\n\0", 3)) == std::string::npos, "a loaded line holds a break or NUL");
    if (decoded.Well)
      Require(line == lines[k], "a loaded line differs", [&] { return Printable(line) + " / " + Printable(lines[k]); });
  }
}

// Well-formed UTF-8 of the bytes: each byte that starts no sequence becomes '?'.
std::string WellFormed(const std::string& Text) {
  std::string out;
  for (std::size_t i = 0; i < Text.size();) {
    const std::size_t length = Utf8SequenceAt(Text, i);
    if (length == 0) {
      out += '?';
      ++i;
    } else {
      out.append(Text, i, length);
      i += length;
    }
  }
  return out;
}

std::string Trimmed(const std::string& Text) {
  std::size_t first = 0, last = Text.size();
  while (first < last && static_cast<unsigned char>(Text[first]) <= 0x20) ++first;
  while (last > first && static_cast<unsigned char>(Text[last - 1]) <= 0x20) --last;
  return Text.substr(first, last - first);
}

void CheckRoundTrip(const std::string& Bytes) {
  BaseValues texts;
  std::size_t field = 0;
  for (char c : WellFormed(Bytes)) {
    if (c == '\n') {
      if (++field == texts.size()) break;
    } else if (c != '\r' && c != '\0') {
      texts[field] += c;
    }
  }
  std::string expectedBytes;
  BaseValues expected;
  for (std::size_t k = 0; k < texts.size(); ++k) {
    expected[k] = Trimmed(texts[k]);
    expectedBytes += expected[k] + "\r\n";
  }
  // A file that starts with the bytes of a mark is read as marked, so a first
  // text starting with U+FEFF comes back without it; the format cannot hold it.
  if (expectedBytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return;

  try {
    SaveBaseValues(Folder, texts);
  } catch (const StorageError& e) {
    Require(false, "saving into a writable folder failed", [&] { return std::string(e.what()); });
  }
  Require(FolderEntries() == std::vector<std::string>{"info.ini"}, "a temporary file was left behind");
  Require(ReadFile() == expectedBytes, "saved bytes differ");
  const std::optional<BaseValues> loaded = LoadBaseValues(Folder);
  Require(loaded.has_value() && *loaded == expected, "the saved texts did not load back");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  ScratchFolder();
  ByteReader in(Data, Size);
  const std::uint8_t mode = in.Byte();
  const std::string rest = in.Rest();
  std::string bytes = rest;
  if ((mode == 0xFE || mode == 0xFF) && !rest.empty() && PadToLimit) {
    const std::size_t target = mode == 0xFE ? LoaderLimit : LoaderLimit + 1;
    if (bytes.size() < target) bytes.resize(target, rest.back());
  }
  CheckLoad(bytes);
  CheckRoundTrip(rest);
  return 0;
}
