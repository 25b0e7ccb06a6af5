// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/BaseValues.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "storage/FileReplace.h"
#include "storage/Text.h"
#include "storage/TextDecoding.h"

namespace {

// A file of ours is eight short lines; a bigger one is not worth reading.
constexpr std::size_t MaxFileSize = std::size_t{16} << 20;

[[noreturn]] void ThrowCreateError(const std::string& Path, int Error) {
  throw StorageError(CreateErrorText(Path, ErrorCause(Error)));
}

[[noreturn]] void ThrowOpenError(const std::string& Path, int Error) {
  throw StorageError(OpenErrorText(Path, ErrorCause(Error)));
}

[[noreturn]] void ThrowWriteError() { throw StorageError("Stream write error"); }

void WriteAll(const detail::FileOps& Ops, int Fd, const std::string& Data) {
  const char* Next = Data.data();
  std::size_t Left = Data.size();
  while (Left > 0) {
    const ssize_t Written = Ops.Write ? Ops.Write(Fd, Next, Left) : ::write(Fd, Next, Left);
    if (Written < 0 && errno == EINTR) continue;
    if (Written <= 0 || static_cast<std::size_t>(Written) > Left) ThrowWriteError();
    Next += Written;
    Left -= static_cast<std::size_t>(Written);
  }
}

// Each maximal ill-formed part becomes one U+FFFD, so a hand-edited file in
// another code page still loads. The default code page here is UTF-8.
std::string Decode(const std::string& Bytes) {
  const auto* Data = reinterpret_cast<const unsigned char*>(Bytes.data());
  const MarkedEncoding Mark = FindByteOrderMark(Data, Bytes.size());
  const unsigned char* Text = Data + Mark.Length;
  const std::size_t Size = Bytes.size() - Mark.Length;
  std::string Out;
  Out.reserve(Size);
  if (Mark.Encoding == TextEncoding::Utf16LE || Mark.Encoding == TextEncoding::Utf16BE)
    DecodeUtf16(Text, Size, Mark.Encoding == TextEncoding::Utf16BE, true, Malformed::Replace, Out);
  else
    DecodeUtf8(Text, Size, true, Malformed::Replace, Out);
  return Out;
}

std::optional<BaseValues> SplitEightLines(const std::string& Text) {
  BaseValues Lines;
  std::size_t Count = 0;
  std::size_t Start = 0;
  auto Take = [&](std::size_t End) {
    if (Count == Lines.size()) return false;
    Lines[Count++] = Text.substr(Start, End - Start);
    return true;
  };
  for (std::size_t i = 0; i < Text.size(); ++i) {
    const char C = Text[i];
    if (C != '\r' && C != '\n') continue;
    if (!Take(i)) return std::nullopt;
    if (C == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n') ++i;
    Start = i + 1;
  }
  // A break at the very end does not open another line.
  if (Start < Text.size() && !Take(Text.size())) return std::nullopt;
  if (Count != Lines.size()) return std::nullopt;
  return Lines;
}

}  // namespace

std::string CreateErrorText(const std::string& Path, const std::string& Cause) {
  return "Cannot create file \"" + Path + "\". " + Cause;
}

std::string OpenErrorText(const std::string& Path, const std::string& Cause) {
  return "Cannot open file \"" + Path + "\". " + Cause;
}

std::string BaseValuesPath(const std::string& Folder) { return Folder + "/" + "info.ini"; }

void SaveBaseValues(const std::string& Folder, const BaseValues& Texts) {
  detail::SaveBaseValues(Folder, Texts, detail::FileOps{});
}

std::string BaseValuesText(const BaseValues& Texts) {
  std::string Contents;
  for (const std::string& Text : Texts) {
    Contents += TrimControl(Text);
    Contents += "\r\n";
  }
  return Contents;
}

std::optional<BaseValues> ReadBaseValuesText(const std::string& Bytes) {
  std::string Text = Decode(Bytes);
  const std::size_t Nul = Text.find('\0');
  if (Nul != std::string::npos) Text.resize(Nul);
  return SplitEightLines(Text);
}

void detail::SaveBaseValues(const std::string& Folder, const BaseValues& Texts, const FileOps& Ops) {
  const std::string Path = BaseValuesPath(Folder);
  const std::string Contents = BaseValuesText(Texts);

  // A link named info.ini keeps pointing where it did: its target is replaced.
  TReplacement Replacement(Path);
  struct stat Old {};
  // Creating a write-protected file anew fails; renaming over it would not.
  if (::stat(Replacement.Target().c_str(), &Old) == 0 && S_ISREG(Old.st_mode) &&
      ::faccessat(AT_FDCWD, Replacement.Target().c_str(), W_OK, AT_EACCESS) != 0)
    ThrowCreateError(Path, errno);

  if (const int Error = Replacement.Create()) ThrowCreateError(Path, Error);
  WriteAll(Ops, Replacement.Fd(), Contents);
  if ((Ops.Fsync ? Ops.Fsync(Replacement.Fd()) : ::fsync(Replacement.Fd())) != 0) ThrowWriteError();
  if (Replacement.Close() != 0) ThrowWriteError();
  if (const int Error = Replacement.Commit(Ops.Rename)) ThrowCreateError(Path, Error);
}

std::optional<BaseValues> LoadBaseValues(const std::string& Folder) {
  return LoadBaseValuesFile(BaseValuesPath(Folder));
}

std::optional<BaseValues> LoadBaseValuesFile(const std::string& Path, BaseValuesRefusal* Why) {
  BaseValuesRefusal Ignored = BaseValuesRefusal::None;
  BaseValuesRefusal& Reason = Why ? *Why : Ignored;
  Reason = BaseValuesRefusal::None;
  struct stat Info {};
  if (::stat(Path.c_str(), &Info) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) {
      Reason = BaseValuesRefusal::Missing;
      return std::nullopt;
    }
    ThrowOpenError(Path, errno);
  }
  // A folder of that name is not the file; a pipe or device would block or
  // never end.
  if (!S_ISREG(Info.st_mode)) {
    Reason = BaseValuesRefusal::NotAFile;
    return std::nullopt;
  }

  const int Fd = ::open(Path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (Fd < 0) {
    if (errno == ENOENT) {
      Reason = BaseValuesRefusal::Missing;
      return std::nullopt;
    }
    ThrowOpenError(Path, errno);
  }
  struct Closer {
    int Fd;
    ~Closer() { ::close(Fd); }
  } Close{Fd};
  // Replaced between the stat and the open.
  if (::fstat(Fd, &Info) != 0 || !S_ISREG(Info.st_mode)) {
    Reason = BaseValuesRefusal::NotAFile;
    return std::nullopt;
  }

  std::string Bytes;
  char Buffer[65536];
  while (Bytes.size() <= MaxFileSize) {
    const ssize_t Read = ::read(Fd, Buffer, sizeof Buffer);
    if (Read < 0) {
      if (errno == EINTR) continue;
      ThrowOpenError(Path, errno);
    }
    if (Read == 0) break;
    Bytes.append(Buffer, static_cast<std::size_t>(Read));
  }
  if (Bytes.size() > MaxFileSize) {
    Reason = BaseValuesRefusal::TooLarge;
    return std::nullopt;
  }

  std::optional<BaseValues> Lines = ReadBaseValuesText(Bytes);
  if (!Lines) Reason = BaseValuesRefusal::NotEightLines;
  return Lines;
}
